#include "notificationcenter.h"

NotificationCenter *NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return &center;
}

void NotificationCenter::post(const QString &name, QObject *sender, const QVariant &payload)
{
    emit notified(name, sender, payload);
}
