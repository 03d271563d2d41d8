#pragma once

#include <QObject>
#include <QVariant>

// Posted after the preferences have been applied to the shared settings.
inline const QString kPrefsChangedNotification = QStringLiteral("Quireon Preferences Changed");

// The application-wide notification centre: every observer receives every notification
// and filters by name.
class NotificationCenter : public QObject
{
    Q_OBJECT
public:
    static NotificationCenter *defaultCenter();
    void post(const QString &name, QObject *sender = nullptr, const QVariant &payload = {});

signals:
    void notified(const QString &name, QObject *sender, const QVariant &payload);
};
