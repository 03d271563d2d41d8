#include "settingsstore.h"
#include "settingsrepair.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <cmath>

namespace {
SettingsStore::DamageHandler damageHandler = nullptr;
// A damage is pending until a handler has learnt it.
QString pendingDamagedFile;
QString pendingCopy;
// Files copied in this session whose damage could not be mended: copied once only.
QSet<QString> copiedFiles;

void reportDamage(const QString &fileName, const QString &copy)
{
    pendingDamagedFile = fileName;
    pendingCopy = copy;
    if (damageHandler) {
        pendingDamagedFile.clear();
        damageHandler(fileName, copy);
    }
}
} // namespace

SettingsStore::SettingsStore() : m_settings(openSettings())
{
    if (m_settings->status() == QSettings::FormatError)
        recoverDamagedFile();
}

std::unique_ptr<QSettings> SettingsStore::openSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Quireon"), QStringLiteral("Quireon"));
}

void SettingsStore::recoverDamagedFile()
{
    const QString path = m_settings->fileName();
    if (copiedFiles.contains(path))
        return;
    const QString copy = SettingsRepair::keepCopy(path);
    if (copy.isEmpty()) {
        m_mayWrite = false;
    } else {
        copiedFiles.insert(path);
        if (SettingsRepair::dropUnreadableLines(path)) {
            m_settings = openSettings();
            if (m_settings->status() == QSettings::NoError)
                copiedFiles.remove(path);
        }
    }
    reportDamage(path, copy);
}

void SettingsStore::setDamageHandler(DamageHandler handler)
{
    damageHandler = handler;
    if (handler && !pendingDamagedFile.isEmpty()) {
        const QString fileName = std::exchange(pendingDamagedFile, QString());
        handler(fileName, pendingCopy);
    }
}

bool SettingsStore::holdsKey(const QString &key) const
{
    return m_settings->status() == QSettings::NoError && m_settings->contains(key);
}

std::optional<QVariant> SettingsStore::objectForKey(const QString &key) const
{
    if (!holdsKey(key))
        return std::nullopt;
    return decode(m_settings->value(key), kindOfKey(key));
}

// QSettings writes its pending changes when it goes, so a file that must be left alone
// gets none.
void SettingsStore::setObject(const QVariant &value, const QString &key)
{
    if (m_mayWrite)
        m_settings->setValue(key, encode(value, kindOfKey(key)));
}

void SettingsStore::removeObject(const QString &key)
{
    if (m_mayWrite)
        m_settings->remove(key);
}

bool SettingsStore::synchronize()
{
    if (!m_mayWrite)
        return false;
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::rawString(const QString &key) const
{
    const QVariant v = m_settings->value(key);
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

void SettingsStore::setRawString(const QString &value, const QString &key)
{
    if (m_mayWrite)
        m_settings->setValue(key, value);
}

static QString jsonArrayText(const QVariantList &list)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromVariantList(list)).toJson(QJsonDocument::Compact));
}

QString SettingsStore::encode(const QVariant &value, PrefKind kind)
{
    switch (kind) {
    case PrefKind::Color:
    case PrefKind::StringList:
    case PrefKind::IntList:
        return jsonArrayText(value.toList());
    case PrefKind::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case PrefKind::Float:
        return QString::number(value.toFloat());
    default:
        return value.toString();
    }
}

static std::optional<QVariantList> decodeArray(const QVariant &stored)
{
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(stored.toString().toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        return std::nullopt;
    return doc.array().toVariantList();
}

static bool isJsonNumber(const QVariant &v)
{
    return v.typeId() == QMetaType::Double || v.typeId() == QMetaType::LongLong;
}

static std::optional<QVariant> decodeList(const QVariant &stored, PrefKind kind)
{
    const std::optional<QVariantList> list = decodeArray(stored);
    if (!list)
        return std::nullopt;
    QVariantList out;
    for (const QVariant &entry : *list) {
        if (kind == PrefKind::StringList) {
            if (entry.typeId() != QMetaType::QString)
                return std::nullopt;
            out << entry;
        } else {
            const double d = entry.toDouble();
            if (!isJsonNumber(entry) || d != std::floor(d) || std::abs(d) > INT_MAX)
                return std::nullopt;
            out << int(d);
        }
    }
    return QVariant(out);
}

static std::optional<QVariant> decodeColor(const QVariant &stored)
{
    const std::optional<QVariantList> list = decodeArray(stored);
    if (!list || list->size() != 4)
        return std::nullopt;
    QVariantList out;
    for (const QVariant &c : *list) {
        if (!isJsonNumber(c))
            return std::nullopt;
        out << float(std::clamp(c.toDouble(), 0.0, 1.0));
    }
    return QVariant(out);
}

static std::optional<QVariant> decodeNumber(const QString &text, PrefKind kind)
{
    bool ok = false;
    QVariant out;
    switch (kind) {
    case PrefKind::Bool:
        if (text == QLatin1String("true") || text == QLatin1String("1"))
            return QVariant(true);
        if (text == QLatin1String("false") || text == QLatin1String("0"))
            return QVariant(false);
        return std::nullopt;
    case PrefKind::Int:
        out = text.toInt(&ok);
        break;
    case PrefKind::UnsignedLong:
        out = text.toUInt(&ok);
        break;
    case PrefKind::Float:
        out = text.toFloat(&ok);
        break;
    default:
        out = text.toDouble(&ok);
        break;
    }
    return ok ? std::optional(out) : std::nullopt;
}

std::optional<QVariant> SettingsStore::decode(const QVariant &stored, PrefKind kind)
{
    switch (kind) {
    case PrefKind::StringList:
    case PrefKind::IntList:
        return decodeList(stored, kind);
    case PrefKind::Color:
        return decodeColor(stored);
    case PrefKind::String:
        if (stored.typeId() != QMetaType::QString)
            return std::nullopt;
        return stored;
    default:
        if (stored.typeId() != QMetaType::QString)
            return std::nullopt;
        return decodeNumber(stored.toString().trimmed(), kind);
    }
}
