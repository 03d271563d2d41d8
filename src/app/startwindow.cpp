#include "startwindow.h"

#include <QCloseEvent>

StartWindow::StartWindow(QWidget *parent) : QWidget(parent)
{
    ui.setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/quireon.svg")));
    connect(ui.buttonOpen, &QPushButton::clicked, this, &StartWindow::openRequested);
    connect(ui.buttonNewFromTemplate, &QPushButton::clicked, this,
            &StartWindow::newFromTemplateRequested);
    connect(ui.buttonPreferences, &QPushButton::clicked, this, &StartWindow::preferencesRequested);
    connect(ui.buttonQuit, &QPushButton::clicked, this, &StartWindow::quitRequested);
}

void StartWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit quitRequested();
}
