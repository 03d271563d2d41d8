#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRect>

class MyWindow;
class QAbstractButton;
class QWindow;

// The click on the Start/Stop button of a reduced floating window that brings the
// application forward. Such a press is held back from the button and remembered; when
// the application becomes active the document restores the window and clicks the button
// once. A press that arrives after the activation finds a normal window and reaches the
// button as usual, so either order of press and activation gives exactly one click.
class ClickForwarder : public QObject
{
    Q_OBJECT
public:
    ClickForwarder(MyWindow *window, QAbstractButton *button, QObject *parent = nullptr);
    // Whether the press that activated the application is to click the button; asked
    // once per activation, before the window changes its size.
    bool takeClick();
    // The window is about to leave its reduced state without a remembered press: a press
    // that the window system delivers just after the activation was aimed at the button
    // where the reduced window showed it, and clicks it.
    void expectLateClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchNativeWindow();
    bool isReducedInBackground() const;
    bool isOnButton(const QPointF &windowPosition) const;
    bool mousePress(const QPointF &position, Qt::MouseButton button);
    bool lateClick(const QPointF &globalPosition, Qt::MouseButton button);

    MyWindow *m_window;
    QAbstractButton *m_button;
    QPointer<QWindow> m_nativeWindow;
    // The last press on a reduced window in the background.
    bool m_hasPress = false;
    QPointF m_pressPosition;
    Qt::MouseButton m_pressButton = Qt::NoButton;
    QElapsedTimer m_pressTime;
    bool m_swallowRelease = false;
    // Where the button stood on the screen in the reduced window, and since when.
    QRect m_lateClickArea;
    QElapsedTimer m_lateClickTime;
};
