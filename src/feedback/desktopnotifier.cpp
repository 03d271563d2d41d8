#include "desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>

#include "settings/localizedtext.h"

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");
constexpr uchar kNormalUrgency = 1;
constexpr uchar kCriticalUrgency = 2;
} // namespace

// A desktop session announces its bus, or keeps it at the usual place; anywhere else
// asking for one would only start a bus of its own (or fail loudly).
static bool sessionBusAnnounced() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

bool DesktopNotifier::listen() {
    if (!sessionBusAnnounced())
        return false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    if (!m_listening) {
        bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                    SLOT(actionInvoked(uint, QString)));
        bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                    SLOT(notificationClosed(uint, uint)));
        m_listening = true;
    }
    return true;
}

void DesktopNotifier::notify(const QString &summary, bool critical) {
    if (!listen())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("urgency"), QVariant::fromValue(critical ? kCriticalUrgency : kNormalUrgency)},
        {QStringLiteral("desktop-entry"), QStringLiteral("quireon")}};
    call << QStringLiteral("Quireon") << m_id << QStringLiteral("quireon") << summary << QString()
         << QStringList{kDefaultAction, Text::localized("NoticeShowAction")} << hints << -1;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<uint> reply = *w;
        if (!reply.isError())
            m_id = reply.value();
        w->deleteLater();
    });
}

void DesktopNotifier::actionInvoked(uint id, const QString &action) {
    if (id != 0 && id == m_id && action == kDefaultAction)
        emit activated();
}

void DesktopNotifier::notificationClosed(uint id, uint) {
    if (id == m_id)
        m_id = 0;
}
