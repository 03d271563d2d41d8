#include "githubreport.h"

namespace {
// A workflow command ends at a newline; its values escape what would end them early.
QString escapedData(QString text) {
    return text.replace(QLatin1Char('%'), QLatin1String("%25"))
        .replace(QLatin1Char('\r'), QLatin1String("%0D"))
        .replace(QLatin1Char('\n'), QLatin1String("%0A"));
}

QString escapedProperty(const QString &text) {
    return escapedData(text).replace(QLatin1Char(':'), QLatin1String("%3A")).replace(QLatin1Char(','), QLatin1String("%2C"));
}
} // namespace

namespace GitHubReport {
QString annotations(const QList<ProblemLine> &problems, const QDir &base) {
    QString lines;
    for (const ProblemLine &problem : problems) {
        if (!problem.location || (problem.kind != LineKind::Error && problem.kind != LineKind::Warning))
            continue;
        lines += QStringLiteral("::%1 file=%2,line=%3::%4\n")
                     .arg(problem.kind == LineKind::Error ? QLatin1String("error") : QLatin1String("warning"),
                          escapedProperty(base.relativeFilePath(problem.location->file)),
                          QString::number(problem.location->line), escapedData(problem.text));
    }
    return lines;
}
} // namespace GitHubReport
