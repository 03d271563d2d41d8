#include "writtenfiles.h"

#include <QRegularExpression>
#include <QString>

QStringList writtenFilesIn(QByteArrayView log) {
    static const QRegularExpression openout(QStringLiteral("\\\\openout\\d+ = [`']?([^'\\n]+)'\\.?"));
    QStringList files;
    const QString text = QString::fromUtf8(log);
    for (auto match = openout.globalMatch(text); match.hasNext();) {
        QString name = match.next().captured(1);
        if (name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
            name = name.mid(1, name.size() - 2);
        if (!files.contains(name))
            files.append(name);
    }
    return files;
}
