#include "autosteps.h"

#include "follow/texsearch.h"
#include "procedure/auxstate.h"
#include "procedure/filehashes.h"
#include "writtenfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
QByteArray contentsOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Adds a file's name and contents to a digest: a file renamed is a change too.
void addFile(QCryptographicHash &digest, const QString &folder, const QString &name) {
    digest.addData(name.toUtf8() + '\0');
    digest.addData(FileHash::of(QDir(folder).filePath(name)));
}

// The name of a database as the tools look for it, with its extension.
QString withExtension(const QString &name, const char *extension) {
    return QFileInfo(name).suffix().isEmpty() ? name + QLatin1Char('.') + QLatin1String(extension) : name;
}

// Hashes the files found as the tools find them; the first one found nowhere is returned.
QString addFound(QCryptographicHash &digest, const QString &folder, const QStringList &names) {
    for (const QString &name : names) {
        const QString path = TexSearch::find(folder, name);
        if (path.isEmpty())
            return name;
        addFile(digest, folder, path);
    }
    return {};
}

QString missingLine(const QString &name) {
    return name + QLatin1String(" is missing");
}

QStringList captures(const QString &text, const QRegularExpression &pattern) {
    QStringList found;
    for (auto match = pattern.globalMatch(text); match.hasNext();)
        found << match.next().captured(1).trimmed();
    return found;
}

// Biber on the control file; it deletes the .bbl when the file was cut off by a pass that
// did not end, so such a file blocks it.
ToolStep biber(const QString &folder, const QString &base, const QStringList &options) {
    const QString bcf = base + QLatin1String(".bcf");
    const QString text = QString::fromUtf8(contentsOf(QDir(folder).filePath(bcf)));
    ToolStep step{QLatin1String("biber:") + bcf, QStringLiteral("Biber"),
                  QStringList{QStringLiteral("biber")} + options + QStringList{base}, {}, {base + QLatin1String(".bbl")}, {}};
    QCryptographicHash digest(QCryptographicHash::Sha1);
    addFile(digest, folder, bcf);
    if (!text.contains(QLatin1String("</bcf:controlfile>")))
        step.blocked = bcf + QLatin1String(" is incomplete");
    static const QRegularExpression source(QStringLiteral("<bcf:datasource[^>]*type=\"file\"[^>]*>([^<]+)</bcf:datasource>"));
    if (const QString missing = addFound(digest, folder, captures(text, source)); !missing.isEmpty() && step.blocked.isEmpty())
        step.blocked = missingLine(missing);
    step.inputs = digest.result();
    return step;
}

// BibTeX on one .aux and the .aux files it pulls in.
ToolStep bibtex(const QString &folder, const QString &aux, const QString &program) {
    const AuxState state = AuxState::read(folder, aux);
    const QString base = aux.chopped(4);
    ToolStep step{QLatin1String("bibtex:") + aux, QStringLiteral("BibTeX"), {program, base}, {}, {base + QLatin1String(".bbl")}, {}};
    QCryptographicHash digest(QCryptographicHash::Sha1);
    digest.addData(state.bibtexLines);
    QStringList files;
    for (const QString &name : state.databases)
        files << withExtension(name, "bib");
    for (const QString &name : state.styles)
        files << withExtension(name, "bst");
    if (const QString missing = addFound(digest, folder, files); !missing.isEmpty())
        step.blocked = missingLine(missing);
    step.inputs = digest.result();
    return step;
}

bool hasDatabases(const QString &folder, const QString &aux) {
    return contentsOf(QDir(folder).filePath(aux)).contains("\\bibdata{");
}

// BibTeX on the root's .aux, which reads the chapters' .aux files through \@input: the
// bibliography is the root's, wherever \bibliography stands. With chapterbib each chapter
// has a bibliography of its own; .aux files written beside the tree (multibib) have theirs.
QList<ToolStep> bibtexRuns(const QString &folder, const QString &base, const QStringList &written, bool chapterbib) {
    const QString rootAux = base + QLatin1String(".aux");
    const AuxState tree = AuxState::read(folder, rootAux);
    QList<ToolStep> steps;
    if (chapterbib) {
        for (const QString &aux : tree.files)
            if (hasDatabases(folder, aux))
                steps << bibtex(folder, aux, QStringLiteral("bibtex"));
    } else if (!tree.databases.isEmpty()) {
        steps << bibtex(folder, rootAux, QStringLiteral("bibtex"));
    }
    for (const QString &aux : written)
        if (aux.endsWith(QLatin1String(".aux")) && !tree.files.contains(aux) && hasDatabases(folder, aux))
            steps << bibtex(folder, aux, QStringLiteral("bibtex"));
    return steps;
}

// The bibliography tool: biblatex says which in its .run.xml; a .bcf alone means Biber;
// else BibTeX for every .aux of the tree whose own text names databases.
QList<ToolStep> bibliography(const QString &folder, const QString &base, const QStringList &written, bool chapterbib) {
    const QString runXml = base + QLatin1String(".run.xml");
    if (written.contains(runXml)) {
        const QString text = QString::fromUtf8(contentsOf(QDir(folder).filePath(runXml)));
        static const QRegularExpression binary(QStringLiteral("<binary>\\s*([^<\\s]+)\\s*</binary>"));
        static const QRegularExpression option(QStringLiteral("<option>([^<]+)</option>"));
        const QString program = captures(text, binary).value(0);
        if (program == QLatin1String("biber"))
            return {biber(folder, base, captures(text, option))};
        if (program.startsWith(QLatin1String("bibtex")))
            return {bibtex(folder, base + QLatin1String(".aux"), program)};
    }
    if (written.contains(base + QLatin1String(".bcf")))
        return {biber(folder, base, {})};
    return bibtexRuns(folder, base, written, chapterbib);
}

// imakeidx runs MakeIndex itself where shell escape lets it: its log then says so.
bool engineRanIndex(QByteArrayView log, const QString &idx) {
    for (const QByteArray &line : log.toByteArray().split('\n'))
        if (line.contains("runsystem(") && line.contains(idx.toUtf8()) && line.contains("executed"))
            return true;
    return false;
}

QList<ToolStep> indexes(const QString &folder, const QStringList &written, QByteArrayView log) {
    QList<ToolStep> steps;
    for (const QString &idx : written) {
        if (!idx.endsWith(QLatin1String(".idx")) || engineRanIndex(log, idx))
            continue;
        const QByteArray entries = contentsOf(QDir(folder).filePath(idx));
        const QString base = idx.chopped(4);
        const QByteArray digest = QCryptographicHash::hash(entries, QCryptographicHash::Sha1);
        if (entries.contains("\\indexentry["))
            steps.append({QLatin1String("splitindex:") + idx, QStringLiteral("splitindex"), {"splitindex", base}, digest, {}, {}});
        else
            steps.append({QLatin1String("makeindex:") + idx, QStringLiteral("MakeIndex"), {"makeindex", idx}, digest,
                          {base + QLatin1String(".ind")}, {}});
    }
    return steps;
}

QList<ToolStep> nomenclature(const QString &folder, const QString &base, const QStringList &written) {
    const QString nlo = base + QLatin1String(".nlo");
    if (!written.contains(nlo))
        return {};
    QCryptographicHash digest(QCryptographicHash::Sha1);
    addFile(digest, folder, nlo);
    const QString nls = base + QLatin1String(".nls");
    return {{QLatin1String("nomencl:") + nlo, QStringLiteral("the nomenclature's MakeIndex"),
             {"makeindex", "-s", "nomencl.ist", "-t", base + QLatin1String(".nlg"), "-o", nls, nlo}, digest.result(), {nls}, {}}};
}

// The glossaries the root's .aux declares: their input and output extensions.
QList<std::pair<QString, QString>> declaredGlossaries(const QString &aux) {
    static const QRegularExpression declared(QStringLiteral("\\\\@newglossary\\{[^}]*\\}\\{[^}]*\\}\\{([^}]*)\\}\\{([^}]*)\\}"));
    QList<std::pair<QString, QString>> glossaries;
    for (auto match = declared.globalMatch(aux); match.hasNext();) {
        const auto found = match.next();
        glossaries.append({found.captured(2), found.captured(1)});
    }
    return glossaries;
}

QList<ToolStep> glossaries(const QString &folder, const QString &base) {
    const QString aux = QString::fromUtf8(contentsOf(QDir(folder).filePath(base + QLatin1String(".aux"))));
    QList<ToolStep> steps;
    if (aux.contains(QLatin1String("\\glsxtr@resource"))) {
        QCryptographicHash digest(QCryptographicHash::Sha1);
        addFile(digest, folder, base + QLatin1String(".aux"));
        steps.append({QLatin1String("bib2gls:") + base, QStringLiteral("bib2gls"), {"bib2gls", base}, digest.result(), {}, {}});
    }
    static const QRegularExpression styleFile(QStringLiteral("\\\\@istfilename\\{([^}]*)\\}"));
    const QString style = styleFile.match(aux).captured(1);
    if (style.isEmpty())
        return steps;
    QCryptographicHash all(QCryptographicHash::Sha1);
    addFile(all, folder, style);
    QStringList outputs;
    const auto declared = declaredGlossaries(aux);
    for (const auto &[input, output] : declared) {
        addFile(all, folder, base + QLatin1Char('.') + input);
        outputs << base + QLatin1Char('.') + output;
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("makeglossaries")).isEmpty() || style.endsWith(QLatin1String(".xdy"))) {
        steps.append({QLatin1String("makeglossaries:") + base, QStringLiteral("makeglossaries"), {"makeglossaries", base},
                      all.result(), outputs, {}});
        return steps;
    }
    // Without makeglossaries, its MakeIndex line for each glossary.
    for (const auto &[input, output] : declared) {
        const QString in = base + QLatin1Char('.') + input;
        QCryptographicHash digest(QCryptographicHash::Sha1);
        addFile(digest, folder, style);
        addFile(digest, folder, in);
        const QString out = base + QLatin1Char('.') + output;
        steps.append({QLatin1String("glossary:") + in, QStringLiteral("the glossary's MakeIndex"),
                      {"makeindex", "-s", style, "-o", out, in}, digest.result(), {out}, {}});
    }
    return steps;
}
} // namespace

namespace AutoSteps {
QList<ToolStep> needed(const QString &folder, const QString &base, QByteArrayView log) {
    const QStringList written = writtenFilesIn(log);
    const bool chapterbib = log.toByteArray().contains("chapterbib.sty");
    return bibliography(folder, base, written, chapterbib) + indexes(folder, written, log) +
           nomenclature(folder, base, written) + glossaries(folder, base);
}

ToolStep biberStep(const QString &folder, const QString &base) {
    return biber(folder, base, {});
}

QString debianPackageOf(const QString &program) {
    if (program == QLatin1String("biber"))
        return QStringLiteral("biber");
    if (program == QLatin1String("bib2gls"))
        return QStringLiteral("texlive-extra-utils");
    if (program == QLatin1String("makeglossaries") || program == QLatin1String("splitindex"))
        return QStringLiteral("texlive-latex-extra");
    if (program == QLatin1String("xelatex"))
        return QStringLiteral("texlive-xetex");
    if (program == QLatin1String("lualatex"))
        return QStringLiteral("texlive-luatex");
    return QStringLiteral("texlive-binaries");
}
} // namespace AutoSteps
