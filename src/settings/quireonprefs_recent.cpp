#include "quireonprefs.h"

#include <QFileInfo>

void QuireonPrefs::appendRecent(const QString &entry, const QString &key)
{
    const std::optional<QVariantList> old = arrayForKey(key);
    if (!old) {
        setArray(QVariantList{entry}, key);
        return;
    }
    QVariantList list = *old;
    list.removeAll(QVariant(entry));
    list.prepend(entry);
    // The cap is read as unsigned: a negative cap lets the list grow without bound.
    const quint32 cap = quint32(numberOfRecentTemplates());
    while (quint32(list.size()) > cap)
        list.removeLast();
    setArray(list, key);
}

template <typename Keep> void QuireonPrefs::validateRecent(const QString &key, Keep keep)
{
    const std::optional<QVariantList> old = arrayForKey(key);
    if (!old)
        return;
    QVariantList list;
    for (const QVariant &v : *old)
        if (keep(QFileInfo(v.toString())))
            list << v;
    if (list.size() == old->size())
        return;
    setArray(list.isEmpty() ? std::nullopt : std::optional(list), key);
}

void QuireonPrefs::validateTemplates()
{
    validateRecent(Key::RecentTemplates,
                   [](const QFileInfo &f) { return f.exists() && !f.isDir(); });
}

void QuireonPrefs::validateSymLinks()
{
    validateRecent(Key::RecentSymbolicLinks, [](const QFileInfo &f) { return f.exists(); });
}
