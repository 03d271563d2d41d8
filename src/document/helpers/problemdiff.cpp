#include "problemdiff.h"

#include <QHash>
#include <QRegularExpression>

namespace ProblemDiff {

QString normalized(const QString &line) {
    struct Rule {
        QRegularExpression pattern;
        QString replacement;
    };
    static const QList<Rule> rules = {
        {QRegularExpression(QStringLiteral("^(\\? )+")), QString()},
        {QRegularExpression(QStringLiteral("^(.+?):\\d+: ")), QStringLiteral("\\1:#: ")},
        {QRegularExpression(QStringLiteral("\\b(lines?|page) \\d+(--\\d+)?")), QStringLiteral("\\1 #")},
        {QRegularExpression(QStringLiteral("\\d+(\\.\\d+)?pt\\b")), QStringLiteral("#pt")},
        {QRegularExpression(QStringLiteral("\\(badness \\d+\\)")), QStringLiteral("(badness #)")},
    };
    QString out = line.trimmed();
    for (const Rule &rule : rules)
        out.replace(rule.pattern, rule.replacement);
    return out;
}

Result compare(const QStringList &previous, const QStringList &current) {
    QHash<QString, int> unmatched;
    for (const QString &line : previous)
        ++unmatched[normalized(line)];
    Result result;
    for (int i = 0; i < current.size(); ++i) {
        int &count = unmatched[normalized(current[i])];
        if (count > 0)
            --count;
        else
            result.added.append(i);
    }
    for (const int count : std::as_const(unmatched))
        result.resolved += count;
    return result;
}
} // namespace ProblemDiff
