#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Whether a document's PDF still shows its sources, judged by modification times: it is
// current when it exists and no source is newer than it. The sources are the root file
// and the files the last run read; one of those that is gone since is no reason for a
// build, but a missing root file is.
namespace OutputCurrency {
// The first of rootFilePath and reads that is newer than output (the root file when it is
// missing), an empty string when output is missing, nullopt when output is current.
std::optional<QString> staleBecause(const QString &output, const QString &rootFilePath,
                                    const QStringList &reads);

// The PDF that command 1 writes for rootFilePath (beside it, or where its -output-directory
// and -jobname send it), judged against the files its last run read.
std::optional<QString> pdfStaleBecause(const QString &rootFilePath, const QString &engineCommand,
                                       const QStringList &outputExtensions, const QString &home);
} // namespace OutputCurrency
