#pragma once

#include "ui_StartWindow.h"

#include <QWidget>

// Shown when no document is open at launch; closing it quits.
class StartWindow : public QWidget
{
    Q_OBJECT
public:
    explicit StartWindow(QWidget *parent = nullptr);

signals:
    void openRequested();
    void newFromTemplateRequested();
    void preferencesRequested();
    void quitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Ui::StartWindow ui;
};
