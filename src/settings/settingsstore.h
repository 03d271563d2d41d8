#pragma once

#include "prefkeys.h"

#include <QSettings>
#include <QVariant>
#include <memory>
#include <optional>

// The per-user settings file. QSettings keeps no kinds (a list of one string comes back
// as a string, numbers as text), so each value is written in a form that its key's kind
// can read back exactly: lists and colours as JSON arrays, numbers and strings as text.
// A stored value that does not read as its key's kind is treated as absent.
// A file that QSettings cannot read cleanly is copied beside itself before anything is
// written to it; then the lines it refuses are dropped so that the rest is read.
class SettingsStore
{
public:
    SettingsStore();

    std::optional<QVariant> objectForKey(const QString &key) const;
    // Whether the file holds the key at all, readable or not.
    bool holdsKey(const QString &key) const;
    void setObject(const QVariant &value, const QString &key);
    void removeObject(const QString &key);
    // False when the file could not be written.
    bool synchronize();

    // Raw text values kept beside the settings ("Document Window Size").
    QString rawString(const QString &key) const;
    void setRawString(const QString &value, const QString &key);

    QString fileName() const { return m_settings->fileName(); }

    // Learns, once per damaged file, the file and the copy kept of it (empty when none
    // could be made: then nothing is written to the file).
    using DamageHandler = void (*)(const QString &fileName, const QString &copy);
    static void setDamageHandler(DamageHandler handler);

    static QString encode(const QVariant &value, PrefKind kind);
    static std::optional<QVariant> decode(const QVariant &stored, PrefKind kind);

private:
    static std::unique_ptr<QSettings> openSettings();
    void recoverDamagedFile();

    std::unique_ptr<QSettings> m_settings;
    bool m_mayWrite = true;
};
