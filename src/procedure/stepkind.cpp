#include "stepkind.h"

#include <QFileInfo>
#include <QStringList>

namespace {
struct KindOfPrograms {
    StepKind kind;
    const char *input; // the extension of the file the program is given
    QStringList programs;
};

const KindOfPrograms kKinds[] = {
    {StepKind::Engine, "tex",
     {"latex", "pdflatex", "xelatex", "lualatex", "dvilualatex", "platex", "uplatex",
      "latex-dev", "pdflatex-dev", "xelatex-dev", "lualatex-dev"}},
    {StepKind::Bibtex, "aux", {"bibtex", "bibtex8", "bibtexu", "pbibtex", "upbibtex"}},
    {StepKind::Biber, "bcf", {"biber"}},
    {StepKind::MakeIndex, "idx", {"makeindex", "mendex", "upmendex", "texindy"}},
};

// Options that give the outputs another base name or folder.
bool redirects(const QString &word) {
    if (!word.startsWith(QLatin1Char('-')))
        return false;
    const QString option = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
    return option.startsWith(QLatin1String("jobname")) ||
           option.startsWith(QLatin1String("output-directory")) ||
           option.startsWith(QLatin1String("aux-directory")) || option == QLatin1String("o");
}
} // namespace

StepKind stepKindOf(const QString &commandLine) {
    const QStringList words = commandLine.split(QLatin1Char(' '));
    const QString program = QFileInfo(words.first()).fileName();
    for (const KindOfPrograms &entry : kKinds) {
        if (!entry.programs.contains(program))
            continue;
        const QString &file = words.last();
        if (words.size() < 2 ||
            (file != QLatin1String("%1") && file != QLatin1String("%1.") + QLatin1String(entry.input)))
            return StepKind::Other;
        for (const QString &word : words)
            if (redirects(word))
                return StepKind::Other;
        return entry.kind;
    }
    return StepKind::Other;
}

QString indexStyleOf(const QString &commandLine) {
    const QStringList words = commandLine.split(QLatin1Char(' '));
    const qsizetype option = words.indexOf(QLatin1String("-s"));
    return option > 0 ? words.value(option + 1) : QString();
}
