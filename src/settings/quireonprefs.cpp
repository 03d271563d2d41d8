#include "quireonprefs.h"

QuireonPrefs *gQuireonPrefs = nullptr;

QuireonPrefs::QuireonPrefs()
{
    setDefaults();
}

std::unique_ptr<QuireonPrefs> QuireonPrefs::defaultPrefs()
{
    auto prefs = std::make_unique<QuireonPrefs>();
    prefs->setDefaults();
    return prefs;
}

void QuireonPrefs::awakeFromNib()
{
    gQuireonPrefs = this;
    setDefaults();
    loadPreferences();
}

// Numbers are read by conversion, so a number stored under one kind reads under another.
// Anything that is not a number reads as the kind's empty value.
static bool isNumber(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

static QVariant numberFor(const QString &key, const QuireonPrefs::Dictionary &dic)
{
    const QVariant v = dic.value(key);
    return isNumber(v) ? v : QVariant();
}

bool QuireonPrefs::boolForKey(const QString &key, const Dictionary &dic) const
{
    return numberFor(key, dic).toDouble() != 0.0;
}

int QuireonPrefs::intForKey(const QString &key, const Dictionary &dic) const
{
    const QVariant v = numberFor(key, dic);
    if (v.typeId() == QMetaType::Float || v.typeId() == QMetaType::Double)
        return int(std::clamp(v.toDouble(), double(INT_MIN), double(INT_MAX)));
    return int(v.toLongLong());
}

quint32 QuireonPrefs::unsignedLongForKey(const QString &key, const Dictionary &dic) const
{
    const QVariant v = numberFor(key, dic);
    if (v.typeId() == QMetaType::Float || v.typeId() == QMetaType::Double)
        return quint32(std::clamp(v.toDouble(), 0.0, double(UINT32_MAX)));
    return quint32(v.toULongLong());
}

float QuireonPrefs::floatForKey(const QString &key, const Dictionary &dic) const
{
    return numberFor(key, dic).toFloat();
}

double QuireonPrefs::doubleForKey(const QString &key, const Dictionary &dic) const
{
    return numberFor(key, dic).toDouble();
}

QColor QuireonPrefs::colorForKey(const QString &key, const Dictionary &dic) const
{
    const QVariantList rgba = dic.value(key).toList();
    if (rgba.size() != 4)
        return QColor(Qt::black);
    for (const QVariant &c : rgba)
        if (!isNumber(c))
            return QColor(Qt::black);
    auto part = [&](int i) { return std::clamp(rgba[i].toFloat(), 0.0f, 1.0f); };
    return QColor::fromRgbF(part(0), part(1), part(2), part(3));
}

QString QuireonPrefs::stringForKey(const QString &key, const Dictionary &dic) const
{
    const QVariant v = dic.value(key);
    return v.typeId() == QMetaType::QString ? v.toString() : QString();
}

std::optional<QVariantList> QuireonPrefs::arrayForKey(const QString &key, const Dictionary &dic) const
{
    const QVariant v = dic.value(key);
    if (v.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    return v.toList();
}

void QuireonPrefs::setBool(bool value, const QString &key, Dictionary &dic)
{
    dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setInt(int value, const QString &key, Dictionary &dic)
{
    dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setUnsignedLong(quint32 value, const QString &key, Dictionary &dic)
{
    dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setFloat(float value, const QString &key, Dictionary &dic)
{
    dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setDouble(double value, const QString &key, Dictionary &dic)
{
    dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setColor(const QColor &value, const QString &key, Dictionary &dic)
{
    const QColor rgb = value.toRgb();
    dic.insert(key, QVariantList{float(rgb.redF()), float(rgb.greenF()), float(rgb.blueF()),
                                 float(rgb.alphaF())});
    m_dirty = true;
}

void QuireonPrefs::setString(const QString &value, const QString &key, Dictionary &dic)
{
    if (value.isNull())
        dic.remove(key);
    else
        dic.insert(key, value);
    m_dirty = true;
}

void QuireonPrefs::setArray(const std::optional<QVariantList> &value, const QString &key,
                            Dictionary &dic)
{
    if (value)
        dic.insert(key, *value);
    else
        dic.remove(key);
    m_dirty = true;
}

QStringList QuireonPrefs::stringListForKey(const QString &key) const
{
    QStringList out;
    for (const QVariant &v : arrayForKey(key).value_or(QVariantList()))
        out << v.toString();
    return out;
}

void QuireonPrefs::setStringList(const QStringList &value, const QString &key)
{
    setArray(QVariantList(value.begin(), value.end()), key);
}

QList<int> QuireonPrefs::intListForKey(const QString &key) const
{
    QList<int> out;
    for (const QVariant &v : arrayForKey(key).value_or(QVariantList()))
        out << v.toInt();
    return out;
}

void QuireonPrefs::setIntList(const QList<int> &value, const QString &key)
{
    QVariantList list;
    for (int v : value)
        list << v;
    setArray(list, key);
}

void QuireonPrefs::setOptionalList(const std::optional<QStringList> &value, const QString &key)
{
    if (value)
        setStringList(*value, key);
    else
        setArray(std::nullopt, key);
}

QString QuireonPrefs::entryAt(const QString &key, int index) const
{
    const QVariantList list = arrayForKey(key).value_or(QVariantList());
    return index >= 0 && index < list.size() ? list[index].toString() : QString();
}

int QuireonPrefs::procedureAtIndex(int step) const
{
    const QVariantList list = arrayForKey(Key::AutoProcedures).value_or(QVariantList());
    if (step < 0 || step >= list.size())
        return 0;
    const int v = list[step].toInt();
    if (v >= 2 && v <= 6)
        return v - 1;
    if (v >= 8 && v <= 12)
        return 7 - v;
    return 0;
}
