#include "texsearch.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

namespace {
// kpsewhich answers within some tens of milliseconds; a stuck one must not stall the
// window for long.
constexpr int kAnswerMs = 2000;
// A name found nowhere may be added to the search path soon (a new file in ~/texmf).
constexpr qint64 kForgetMissingMs = 10000;

struct Answer {
    QString path;
    qint64 askedAt = 0;
};

QHash<QString, Answer> &answers() {
    static QHash<QString, Answer> cache;
    return cache;
}

QString askKpsewhich(const QString &folder, const QString &name) {
    QProcess kpsewhich;
    kpsewhich.setWorkingDirectory(folder);
    kpsewhich.setStandardInputFile(QProcess::nullDevice());
    kpsewhich.start(QStringLiteral("kpsewhich"), {QStringLiteral("--"), name});
    if (!kpsewhich.waitForFinished(kAnswerMs)) {
        kpsewhich.kill();
        kpsewhich.waitForFinished(kAnswerMs);
        return {};
    }
    const QString path = QString::fromLocal8Bit(kpsewhich.readAllStandardOutput()).trimmed();
    return kpsewhich.exitCode() == 0 && QFileInfo(path).isAbsolute() ? path : QString();
}
} // namespace

namespace TexSearch {
QString find(const QString &folder, const QString &name) {
    if (name.isEmpty())
        return {};
    if (QFileInfo(QDir(folder), name).isFile())
        return name;
    const QString key = folder + QChar(0) + name;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const auto known = answers().constFind(key);
    if (known != answers().cend()) {
        const bool stillThere = !known->path.isEmpty() && QFileInfo(known->path).isFile();
        const bool stillMissing = known->path.isEmpty() && now - known->askedAt < kForgetMissingMs;
        if (stillThere || stillMissing)
            return known->path;
    }
    const QString path = askKpsewhich(folder, name);
    answers().insert(key, {path, now});
    return path;
}
} // namespace TexSearch
