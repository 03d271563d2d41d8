#include "recentdocuments.h"

#include "settings/settingsstore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

namespace RecentDocuments {

QStringList list()
{
    const QString text = SettingsStore().rawString(Key::RecentDocuments);
    QStringList out;
    for (const QJsonValue &v : QJsonDocument::fromJson(text.toUtf8()).array())
        if (v.isString())
            out << v.toString();
    return out;
}

static void store(const QStringList &paths)
{
    SettingsStore store;
    store.setRawString(QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(paths))
                                             .toJson(QJsonDocument::Compact)),
                       Key::RecentDocuments);
    store.synchronize();
}

void noteNewRecentDocument(const QString &path)
{
    QStringList paths = list();
    // Lists kept before paths were cleaned may hold another spelling of the same file.
    paths.removeIf([&path](const QString &entry) { return QDir::cleanPath(entry) == path; });
    paths.prepend(path);
    store(paths.mid(0, kMaximum));
}

void clear()
{
    store({});
}

} // namespace RecentDocuments
