#include "auxstate.h"

#include <QDir>
#include <QFile>
#include <optional>

namespace {
// Chapters pull in no further files in practice; the limit only guards against loops.
constexpr int kMaxDepth = 8;

// The text between the braces of a line "\command{text}"; nothing for other lines.
std::optional<QByteArray> argumentOf(const QByteArray &line, QByteArrayView command) {
    if (!line.startsWith(command) || line.size() <= command.size() ||
        line.at(command.size()) != '{')
        return std::nullopt;
    const qsizetype close = line.indexOf('}', command.size());
    if (close < 0)
        return std::nullopt;
    return line.mid(command.size() + 1, close - command.size() - 1);
}

void readInto(AuxState &state, const QDir &folder, const QString &name, int depth) {
    if (name.isEmpty() || depth > kMaxDepth || state.files.contains(name))
        return;
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return;
    state.files.append(name);
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (const auto input = argumentOf(line, "\\@input")) {
            readInto(state, folder, QFile::decodeName(*input), depth + 1);
        } else if (argumentOf(line, "\\citation")) {
            state.bibtexLines += line + '\n';
        } else if (const auto style = argumentOf(line, "\\bibstyle")) {
            state.bibtexLines += line + '\n';
            state.styles.append(QFile::decodeName(*style) + QLatin1String(".bst"));
        } else if (const auto data = argumentOf(line, "\\bibdata")) {
            state.bibtexLines += line + '\n';
            for (const QByteArray &base : data->split(',')) {
                const QString database = QFile::decodeName(base.trimmed());
                state.databases.append(database.endsWith(QLatin1String(".bib"))
                                           ? database
                                           : database + QLatin1String(".bib"));
            }
        }
    }
}
} // namespace

AuxState AuxState::read(const QString &folder, const QString &rootAux) {
    AuxState state;
    readInto(state, QDir(folder), rootAux, 0);
    return state;
}
