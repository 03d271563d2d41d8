#include "clickforwarder.h"

#include "mywindow.h"
#include "platform/appactivity.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QWindow>

// The window manager activates the application within moments of the press; a press
// older than this did not bring it forward.
constexpr qint64 kActivationDelayMilliseconds = 1000;
// A press delivered after the activation follows it at once; a later one is the user's.
constexpr qint64 kLatePressMilliseconds = 400;

ClickForwarder::ClickForwarder(MyWindow *window, QAbstractButton *button, QObject *parent)
    : QObject(parent), m_window(window), m_button(button)
{
    m_window->installEventFilter(this);
    watchNativeWindow();
}

// Presses go to the widget under the pointer, so they are watched on the native window
// that delivers them all; it exists once the window has been shown.
void ClickForwarder::watchNativeWindow()
{
    QWindow *native = m_window->windowHandle();
    if (!native || native == m_nativeWindow)
        return;
    m_nativeWindow = native;
    native->installEventFilter(this);
}

bool ClickForwarder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange)
            watchNativeWindow();
        return false;
    }
    if (watched != m_nativeWindow)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (lateClick(press->globalPosition(), press->button()))
            return true;
        return mousePress(press->position(), press->button());
    }
    if (event->type() == QEvent::MouseButtonRelease && m_swallowRelease) {
        m_swallowRelease = false;
        return true;
    }
    return false;
}

bool ClickForwarder::mousePress(const QPointF &position, Qt::MouseButton button)
{
    m_hasPress = isReducedInBackground();
    m_swallowRelease = false;
    if (!m_hasPress)
        return false;
    m_pressPosition = position;
    m_pressButton = button;
    m_pressTime.start();
    m_swallowRelease = button == Qt::LeftButton && isOnButton(position);
    return m_swallowRelease;
}

void ClickForwarder::expectLateClick()
{
    if (!m_button->isVisible() || !m_button->isEnabled())
        return;
    m_lateClickArea = QRect(m_button->mapToGlobal(QPoint(0, 0)), m_button->size());
    m_lateClickTime.start();
}

// Many window managers activate a window on the press and deliver the press afterwards,
// by which time the window has its normal layout and the button stands elsewhere.
bool ClickForwarder::lateClick(const QPointF &globalPosition, Qt::MouseButton button)
{
    if (m_lateClickArea.isNull())
        return false;
    const QRect area = std::exchange(m_lateClickArea, QRect());
    if (button != Qt::LeftButton || m_lateClickTime.elapsed() > kLatePressMilliseconds ||
        !area.contains(globalPosition.toPoint()))
        return false;
    m_swallowRelease = true;
    m_button->click();
    return true;
}

bool ClickForwarder::takeClick()
{
    const bool click = m_hasPress && m_window->miniWindow() && m_pressButton == Qt::LeftButton &&
                       isOnButton(m_pressPosition) &&
                       m_pressTime.elapsed() <= kActivationDelayMilliseconds;
    m_hasPress = false;
    return click;
}

bool ClickForwarder::isReducedInBackground() const
{
    return m_window->isInFloatingState() && m_window->miniWindow() && !AppActivity::isActive();
}

bool ClickForwarder::isOnButton(const QPointF &windowPosition) const
{
    if (!m_button->isVisible() || !m_button->isEnabled())
        return false;
    const QRect frame(m_button->mapTo(m_window, QPoint(0, 0)), m_button->size());
    return frame.contains(windowPosition.toPoint());
}
