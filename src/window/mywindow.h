#pragma once

#include <QMainWindow>
#include <QTimer>

class FloatingDocument;
class MyDocument;

// The document window. Besides its normal state it has a floating state: translucent,
// above other applications' windows and, by "Window Contents", reduced to a band or a
// strip. The document decides when to float; the window owns how each state looks.
// Every height change keeps the top edge in place and moves the bottom edge.
class MyWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MyWindow(QWidget *parent = nullptr);
    ~MyWindow() override;

    MyDocument *myDocument() const { return m_myDocument; }
    void setMyDocument(MyDocument *document) { m_myDocument = document; }
    // The document's answers to the floating states; without one the window floats as
    // for an idle document whose floating timer has run out.
    FloatingDocument *floatingDocument() const { return m_floatingDocument; }
    void setFloatingDocument(FloatingDocument *document) { m_floatingDocument = document; }

    // Once the window's contents are in place: the size limits, and the size the user
    // last gave a document window.
    void awakeFromNib();
    void saveWindowSize(const QSize &size);

    void normalState();
    void floatingState();
    bool isInFloatingState() const;
    bool miniWindow() const { return m_miniWindow; }
    int savedWindowHeight() const { return m_savedWindowHeight; }

    void resizeWindowHeightTo(double height, bool display = true);
    // Resizes to what a "Window Contents" value prescribes; the state is not touched.
    void temporaryResizeTo(int contents);

    // The mouse-check timer that expands a reduced window under the pointer.
    void startTimer();
    void stopTimer();
    void mouseCheckProc();
    bool mouseCheckTimerRunning() const { return m_mouseCheckTimer.isActive(); }
    bool temporaryExpanded() const { return m_temporaryExpanded; }

signals:
    // The user (not the code) changed the window's size.
    void userResized(const QSize &size);
    // The window has accepted a close request and is gone from the screen.
    void windowClosed();
    // The window has become the active window.
    void becameKey();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    // The document decides: a running document stops its run and keeps the window open.
    void closeEvent(QCloseEvent *event) override;

private:
    double frameHeight() const { return geometry().height(); }
    bool documentIsRunning() const;
    bool documentFloatingTimerActive() const;
    void tellAutoSize(bool autoSize);
    void setFloatingLevel(bool floating);
    void keepWidthLimitsAgreeing();
    void resizeToContents(int contents);
    void setGeometryByCode(const QRect &geometry);
    void reduce(int contents);
    void restoreHeight();

    MyDocument *m_myDocument = nullptr;
    FloatingDocument *m_floatingDocument = nullptr;
    bool m_miniWindow = false;
    int m_savedWindowHeight = 0;
    QTimer m_mouseCheckTimer;
    bool m_temporaryExpanded = false;
    bool m_resizingByCode = false;
    QList<QSize> m_sizesSetByCode; // not yet confirmed by the window system
};
