#include "magiccomment.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
// The comment belongs to the preamble's head; a long document is not read for it.
constexpr int kLinesRead = 20;
} // namespace

QString engineProgramOf(const QString &rootFilePath) {
    QFile root(rootFilePath);
    if (!root.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression magic(QStringLiteral("^\\s*%\\s*!\\s*TeX\\s+(?:TS-)?program\\s*=\\s*([A-Za-z]+)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    for (int line = 0; line < kLinesRead && !root.atEnd(); ++line) {
        const QString program = magic.match(QString::fromUtf8(root.readLine()).trimmed()).captured(1).toLower();
        if (program == QLatin1String("pdflatex") || program == QLatin1String("xelatex") ||
            program == QLatin1String("lualatex"))
            return program;
    }
    return {};
}

QString withEngineProgram(const QString &commandLine, const QString &program) {
    if (program.isEmpty())
        return commandLine;
    const qsizetype end = commandLine.indexOf(QLatin1Char(' '));
    const QString first = commandLine.left(end);
    const QString beside = QFileInfo(first).path() + QLatin1Char('/') + program;
    const QString chosen = first.contains(QLatin1Char('/')) && QFileInfo(beside).isExecutable()
                               ? beside
                               : QStandardPaths::findExecutable(program);
    return (chosen.isEmpty() ? program : chosen) + (end < 0 ? QString() : commandLine.mid(end));
}
