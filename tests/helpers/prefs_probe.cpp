// Reads the settings as a freshly started Quireon would and prints each key's kind and
// value, one JSON object per line, so a test can check what came back in a new process.
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Text::installTable();
    QuireonPrefs prefs;
    prefs.awakeFromNib();
    QTextStream out(stdout);
    for (const PrefKeyInfo &info : preferenceKeys) {
        if (!prefs.hasValue(info.key))
            continue;
        const QVariant v = prefs.prefsDic().value(info.key);
        QJsonObject line{{"key", info.key},
                         {"type", QString::fromLatin1(v.typeName())},
                         {"value", QJsonValue::fromVariant(v)}};
        out << QJsonDocument(line).toJson(QJsonDocument::Compact) << '\n';
    }
    return 0;
}
