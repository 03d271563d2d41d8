#pragma once

#include <QMainWindow>

class MyDocument;

// The document window. Its floating states are added by the floating window code.
class MyWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MyWindow(QWidget *parent = nullptr);
    MyDocument *myDocument() const { return m_myDocument; }
    void setMyDocument(MyDocument *document) { m_myDocument = document; }

signals:
    // The window has accepted a close request and is gone from the screen.
    void windowClosed();

protected:
    // The document decides: a running document stops its run and keeps the window open.
    void closeEvent(QCloseEvent *event) override;

private:
    MyDocument *m_myDocument = nullptr;
};
