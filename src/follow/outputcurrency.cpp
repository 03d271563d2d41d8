#include "outputcurrency.h"

#include "document/helpers/filestamp.h"
#include "document/helpers/rootpaths.h"
#include "projectinputs.h"
#include "runbase.h"

namespace {
bool isNewer(const FileStamp &source, const FileStamp &output) {
    return std::pair(source.seconds, source.nanoseconds) > std::pair(output.seconds, output.nanoseconds);
}
} // namespace

namespace OutputCurrency {
std::optional<QString> staleBecause(const QString &output, const QString &rootFilePath,
                                    const QStringList &reads) {
    const std::optional<FileStamp> made = FileStamp::of(output);
    if (!made)
        return QString();
    const std::optional<FileStamp> root = FileStamp::of(rootFilePath);
    if (!root || isNewer(*root, *made))
        return rootFilePath;
    for (const QString &path : reads) {
        const std::optional<FileStamp> read = FileStamp::of(path);
        if (read && isNewer(*read, *made))
            return path;
    }
    return std::nullopt;
}

std::optional<QString> pdfStaleBecause(const QString &rootFilePath, const QString &engineCommand,
                                       const QStringList &outputExtensions, const QString &home) {
    const QString pdf = outputPath(RunBase::of(rootFilePath, engineCommand), QStringLiteral("pdf"));
    return staleBecause(pdf, rootFilePath,
                        ProjectInputs::learn(rootFilePath, engineCommand, outputExtensions, home));
}
} // namespace OutputCurrency
