#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <variant>

class QCommandLineParser;

// What a batch run was asked for on the command line, checked before anything runs.
struct BatchOptions {
    QStringList files; // the root files as given
    QStringList roots; // the same, as absolute paths
    std::optional<QList<int>> commandIndexes; // --procedure, counted from 0
    int jobs = 1;
    bool githubReport = false;
    QString jsonReport; // where the JSON report goes; empty for none

    // The options, or the exit status after a message on standard error: files that
    // cannot be read or are not root files, a root named twice, two roots whose outputs
    // would be written to the same place, a bad option value.
    static std::variant<BatchOptions, int> read(const QCommandLineParser &parser, const QString &rootType,
                                                const QString &engineCommand);
};
