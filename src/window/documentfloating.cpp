// The document's side of floating: when its window floats and returns, the floating
// timer that keeps a finished run visible for a while, and the click that a strip
// forwards to the Start/Stop button.
#include "document/mydocument.h"
#include "ui_MyDocument.h"

#include "platform/appactivity.h"
#include "settings/quireonprefs.h"
#include "window/clickforwarder.h"
#include "window/documentorder.h"
#include "window/mywindow.h"

#include <QTimer>

void MyDocument::setUpFloating()
{
    m_myWindow->setFloatingDocument(this);
    m_myWindow->awakeFromNib();
    clickForwarder = new ClickForwarder(m_myWindow.get(), ui->buttonStartStop, this);
    windowSizeTimer = new QTimer(this);
    windowSizeTimer->setSingleShot(true);
    windowSizeTimer->setInterval(250);
    connect(windowSizeTimer, &QTimer::timeout, this,
            [this] { windowWillResize(pendingWindowSize); });
    connect(m_myWindow.get(), &MyWindow::userResized, this, [this](const QSize &size) {
        pendingWindowSize = size;
        windowSizeTimer->start();
    });
    connect(m_myWindow.get(), &MyWindow::becameKey, this, &MyDocument::windowDidBecomeKey);
}

void MyDocument::moveToFloatingState()
{
    if (gQuireonPrefs->floatingWindow())
        m_myWindow->floatingState();
    else if (m_myWindow->isInFloatingState())
        m_myWindow->normalState();
}

void MyDocument::moveToNormalState()
{
    // Decided before the window changes its size.
    const bool forwardClick = clickForwarder->takeClick();
    if (!m_myWindow->isInFloatingState())
        return;
    if (!forwardClick && m_myWindow->miniWindow())
        clickForwarder->expectLateClick();
    m_myWindow->normalState();
    if (forwardClick)
        ui->buttonStartStop->click();
}

// A command has started: in the background the window comes forward among Quireon's
// windows and floats, showing more while the command runs.
void MyDocument::floatWhileInBackground()
{
    if (AppActivity::isActive())
        return;
    if (windowOrderWithinApplication() != 0)
        m_myWindow->raise();
    moveToFloatingState();
}

void MyDocument::floatingProc()
{
    m_floatingTimerActive = false;
    if (!AppActivity::isActive())
        moveToFloatingState();
    if (floatingTimer) {
        floatingTimer->deleteLater();
        floatingTimer = nullptr;
    }
}

int MyDocument::windowOrderWithinApplication() const
{
    return int(DocumentOrder::orderedDocuments().indexOf(const_cast<MyDocument *>(this)));
}

// Autosize off freezes the layout of the window's contents: the views keep their places
// from the top, so a window shortened at its bottom edge cuts away the lower part and
// its strip shows the status row and counters at full size instead of squeezing every
// view. The menu bar gives the strip its room while the window is reduced.
void MyDocument::setAutoSize(bool autoSize)
{
    ui->windowLayout->setEnabled(autoSize);
    if (QWidget *menu = m_myWindow->menuWidget())
        menu->setVisible(autoSize);
    if (autoSize) {
        ui->windowLayout->invalidate();
        ui->windowLayout->activate();
    }
}

void MyDocument::windowDidBecomeKey()
{
    m_myWindow->raise();
}

QSize MyDocument::windowWillResize(const QSize &size)
{
    m_myWindow->saveWindowSize(size);
    return size;
}
