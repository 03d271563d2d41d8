#pragma once

#include <QString>
#include <QStringList>

// The English text table: user-visible texts are looked up by key; a key without a text
// comes back as the key itself.
namespace Text {
// Loads the compiled table into the application; safe to call more than once.
void installTable();
QString localized(const char *key);
QString localized(const QString &key);
// The localized text with each "%@" replaced by the next argument, in order.
QString format(const char *key, const QStringList &args);
QString substitute(const QString &text, const QStringList &args);
} // namespace Text
