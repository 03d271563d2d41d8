#include "mywindow.h"

#include "document/mydocument.h"

#include <QCloseEvent>

MyWindow::MyWindow(QWidget *parent) : QMainWindow(parent) {}

void MyWindow::closeEvent(QCloseEvent *event) {
    if (m_myDocument && !m_myDocument->windowShouldClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit windowClosed();
}
