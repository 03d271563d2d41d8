#pragma once

#include "prefkeys.h"

#include <QSettings>
#include <QVariant>
#include <optional>

// The per-user settings file. QSettings keeps no kinds (a list of one string comes back
// as a string, numbers as text), so each value is written in a form that its key's kind
// can read back exactly: lists and colours as JSON arrays, numbers and strings as text.
// A stored value that does not read as its key's kind is treated as absent.
class SettingsStore
{
public:
    SettingsStore();

    std::optional<QVariant> objectForKey(const QString &key) const;
    void setObject(const QVariant &value, const QString &key);
    void removeObject(const QString &key);
    // False when the file could not be written.
    bool synchronize();

    // Raw text values kept beside the settings ("Document Window Size").
    QString rawString(const QString &key) const;
    void setRawString(const QString &value, const QString &key);

    QString fileName() const { return m_settings.fileName(); }

    static QString encode(const QVariant &value, PrefKind kind);
    static std::optional<QVariant> decode(const QVariant &stored, PrefKind kind);

private:
    QSettings m_settings;
};
