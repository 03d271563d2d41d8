#include "firstpaintprobe.h"

#include "window/mywindow.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

namespace {
class FirstPaintProbe : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget && qobject_cast<MyWindow *>(widget->window())) {
            QCoreApplication::instance()->removeEventFilter(this);
            // Reported once this paint has reached the window, not before it is drawn.
            QTimer::singleShot(0, [] {
                std::fputs("first paint\n", stdout);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }
};
} // namespace

void installFirstPaintProbe(QApplication &app)
{
    if (qEnvironmentVariableIsSet("QUIREON_EXIT_AFTER_FIRST_PAINT"))
        app.installEventFilter(new FirstPaintProbe(&app));
}
