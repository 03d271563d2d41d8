#include "applicationfocus.h"

#include "document/mydocument.h"

#include <QGuiApplication>
#include <memory>

void applicationDidBecomeActive(const QList<MyDocument *> &frontToBack)
{
    for (auto it = frontToBack.crbegin(); it != frontToBack.crend(); ++it) {
        (*it)->moveToNormalState();
        (*it)->enableButtons(true);
    }
}

void applicationDidResignActive(const QList<MyDocument *> &frontToBack)
{
    if (!frontToBack.isEmpty())
        frontToBack.first()->moveToFloatingState();
}

void followApplicationFocus(QObject *context, std::function<QList<MyDocument *>()> documents)
{
    // Hidden and suspended follow inactive without a new resignation.
    auto wasActive = std::make_shared<bool>(
        QGuiApplication::applicationState() == Qt::ApplicationActive);
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, context,
                     [documents = std::move(documents), wasActive](Qt::ApplicationState state) {
                         const bool active = state == Qt::ApplicationActive;
                         if (active == *wasActive)
                             return;
                         *wasActive = active;
                         if (active)
                             applicationDidBecomeActive(documents());
                         else
                             applicationDidResignActive(documents());
                     });
}
