#include "localizedtext.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Text {

static const char *const kContext = "Quireon";
static QTranslator *gTable = nullptr;

void installTable()
{
    if (gTable || !QCoreApplication::instance())
        return;
    gTable = new QTranslator(QCoreApplication::instance());
    if (!gTable->load(QStringLiteral(":/i18n/quireon_en.qm"))) {
        delete gTable;
        gTable = nullptr;
    }
}

// Compiled tables cannot hold an empty text (an empty page string is a real default), so
// the table writes one as a lone zero-width space.
static const QChar kEmptyText(0x200B);

QString localized(const char *key)
{
    if (gTable) {
        const QString text = gTable->translate(kContext, key);
        if (text.size() == 1 && text[0] == kEmptyText)
            return QStringLiteral("");
        if (!text.isEmpty())
            return text;
    }
    return QString::fromUtf8(key);
}

QString localized(const QString &key)
{
    return localized(key.toUtf8().constData());
}

QString substitute(const QString &text, const QStringList &args)
{
    QString out;
    qsizetype from = 0;
    for (const QString &arg : args) {
        const qsizetype at = text.indexOf(QLatin1String("%@"), from);
        if (at < 0)
            break;
        out += QStringView(text).mid(from, at - from);
        out += arg;
        from = at + 2;
    }
    out += QStringView(text).mid(from);
    return out;
}

QString format(const char *key, const QStringList &args)
{
    return substitute(localized(key), args);
}

} // namespace Text
