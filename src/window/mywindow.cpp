#include "mywindow.h"

#include "document/mydocument.h"
#include "floatingdocument.h"
#include "floatinggeometry.h"
#include "platform/pointer.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"

#include <QCloseEvent>
#include <QLayout>
#include <QResizeEvent>
#include <QWindow>

using namespace FloatingGeometry;

namespace {
const QuireonPrefs &prefs()
{
    if (gQuireonPrefs)
        return *gQuireonPrefs;
    static const QuireonPrefs defaults;
    return defaults;
}
} // namespace

MyWindow::MyWindow(QWidget *parent) : QMainWindow(parent)
{
    m_mouseCheckTimer.setInterval(kMouseCheckMilliseconds);
    connect(&m_mouseCheckTimer, &QTimer::timeout, this, &MyWindow::mouseCheckProc);
}

MyWindow::~MyWindow() = default;

void MyWindow::awakeFromNib()
{
    m_mouseCheckTimer.stop();
    m_temporaryExpanded = false;
    setMaximumSize(kMaxContentSize);
    // The strip is far lower than the contents' own minimum; only the height is set, so
    // the layout still decides the minimum width.
    setMinimumHeight(int(kStripHeight));
    if (layout())
        layout()->activate();
    keepWidthLimitsAgreeing();
    const std::optional<QSize> size = sizeFromText(SettingsStore().rawString(Key::DocumentWindowSize));
    if (!size)
        return;
    const QSize bounded = size->boundedTo(maximumSize());
    // A window not yet shown has no place of its own: the window manager places it, and
    // fixing it at the origin would put its title bar off the screen.
    if (!isVisible())
        resize(bounded);
    else
        setGeometryByCode(QRect(geometry().topLeft(), bounded));
}

void MyWindow::saveWindowSize(const QSize &size)
{
    SettingsStore().setRawString(sizeToText(size), Key::DocumentWindowSize);
}

bool MyWindow::isInFloatingState() const
{
    if (const QWindow *window = windowHandle())
        return window->flags().testFlag(Qt::WindowStaysOnTopHint);
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// The flag is switched on the native window: changing the widget's flags would create a
// new native window, which the window manager focuses, which makes the application
// active again and the window leave the floating state at once.
void MyWindow::setFloatingLevel(bool floating)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, floating);
    overrideWindowFlags(flags);
    if (QWindow *window = windowHandle())
        window->setFlag(Qt::WindowStaysOnTopHint, floating);
}

void MyWindow::normalState()
{
    stopTimer();
    setWindowOpacity(1.0);
    setFloatingLevel(false);
    if (m_miniWindow) {
        restoreHeight();
        stopTimer();
    }
}

void MyWindow::floatingState()
{
    const int contents = prefs().windowContents();
    if (contents == 0) {
        if (m_miniWindow) {
            restoreHeight();
            stopTimer();
        } else {
            setWindowOpacity(1.0 - prefs().windowTransparency());
            setFloatingLevel(true);
        }
        return;
    }
    if (!heightForContents(contents, m_savedWindowHeight, false))
        return;
    if (m_miniWindow)
        resizeToContents(contents);
    else
        reduce(contents);
}

void MyWindow::reduce(int contents)
{
    tellAutoSize(false);
    m_savedWindowHeight = savedHeightOf(frameHeight());
    resizeWindowHeightTo(
        *heightForContents(contents, m_savedWindowHeight, documentFloatingTimerActive()));
    setWindowOpacity(1.0 - prefs().windowTransparency());
    setFloatingLevel(true);
    m_miniWindow = true;
    startTimer();
}

void MyWindow::restoreHeight()
{
    resizeWindowHeightTo(double(m_savedWindowHeight));
    m_miniWindow = false;
    tellAutoSize(true);
}

void MyWindow::resizeToContents(int contents)
{
    const std::optional<double> height =
        heightForContents(contents, m_savedWindowHeight, documentFloatingTimerActive());
    if (height && frameHeight() != *height)
        resizeWindowHeightTo(*height);
}

void MyWindow::resizeWindowHeightTo(double height, bool display)
{
    const QRect old = geometry();
    setGeometryByCode(QRect(old.topLeft(), QSize(old.width(), int(height))));
    if (display)
        update();
}

void MyWindow::setGeometryByCode(const QRect &geometry)
{
    // Requests the window system never confirms (a hidden window) must not pile up.
    constexpr qsizetype kPendingRequests = 8;
    if (m_sizesSetByCode.size() == kPendingRequests)
        m_sizesSetByCode.removeFirst();
    m_sizesSetByCode.append(geometry.size());
    m_resizingByCode = true;
    setGeometry(geometry);
    m_resizingByCode = false;
}

void MyWindow::temporaryResizeTo(int contents)
{
    if (contents == 0)
        resizeWindowHeightTo(double(m_savedWindowHeight));
    else
        resizeToContents(contents);
}

void MyWindow::startTimer()
{
    if (!prefs().autoFloating()) {
        stopTimer();
        return;
    }
    if (m_mouseCheckTimer.isActive())
        return;
    m_mouseCheckTimer.start();
    m_temporaryExpanded = false;
}

void MyWindow::stopTimer()
{
    if (!m_mouseCheckTimer.isActive())
        return;
    m_mouseCheckTimer.stop();
    if (m_temporaryExpanded) {
        temporaryResizeTo(prefs().windowContents());
        m_temporaryExpanded = false;
    }
}

void MyWindow::mouseCheckProc()
{
    if (documentIsRunning())
        return;
    const bool inside = frameGeometry().contains(Pointer::location());
    if (inside && !m_temporaryExpanded) {
        temporaryResizeTo(prefs().autoFloatingContents());
        m_temporaryExpanded = true;
    } else if (!inside && m_temporaryExpanded) {
        temporaryResizeTo(prefs().windowContents());
        m_temporaryExpanded = false;
    }
}

// A size change that comes from the window system and that the code did not ask for is
// the user's. The window system confirms the code's changes later, possibly after the
// code has made further ones, so each confirmation is matched with its request.
void MyWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (!event->spontaneous() || m_resizingByCode)
        return;
    const qsizetype request = m_sizesSetByCode.indexOf(event->size());
    if (request < 0) {
        emit userResized(event->size());
        return;
    }
    const QSize latest = m_sizesSetByCode.last();
    m_sizesSetByCode.remove(0, request + 1);
    // A late confirmation of an earlier request has put the window back to that size.
    if (event->size() != latest)
        QMetaObject::invokeMethod(this, [this, latest] {
            if (size() != latest)
                setGeometryByCode(QRect(geometry().topLeft(), latest));
        }, Qt::QueuedConnection);
}

bool MyWindow::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)
        keepWidthLimitsAgreeing();
    return handled;
}

// The layout sets the smallest width its buttons need, which with the desktop's fonts
// can exceed the usual largest width: the window may then be as wide as that, so the
// limits never contradict each other.
void MyWindow::keepWidthLimitsAgreeing()
{
    setMaximumWidth(std::max(kMaxContentSize.width(), minimumWidth()));
}

void MyWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit becameKey();
}

bool MyWindow::documentIsRunning() const
{
    return m_floatingDocument && m_floatingDocument->isRunning();
}

bool MyWindow::documentFloatingTimerActive() const
{
    return m_floatingDocument && m_floatingDocument->floatingTimerActive();
}

void MyWindow::tellAutoSize(bool autoSize)
{
    if (m_floatingDocument)
        m_floatingDocument->setAutoSize(autoSize);
}

void MyWindow::closeEvent(QCloseEvent *event) {
    if (m_myDocument && !m_myDocument->windowShouldClose()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit windowClosed();
}
