// Reads the settings as a freshly started Quireon would and prints each key's kind and
// value as one JSON object, so a test can check what came back in a new process.
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
    QJsonObject all;
    for (const PrefKeyInfo &info : preferenceKeys) {
        if (!prefs.hasValue(info.key))
            continue;
        const QVariant v = prefs.prefsDic().value(info.key);
        all.insert(info.key, QJsonObject{{"type", QString::fromLatin1(v.typeName())},
                                         {"value", QJsonValue::fromVariant(v)}});
    }
    QTextStream(stdout) << QJsonDocument(all).toJson(QJsonDocument::Compact);
    return 0;
}
