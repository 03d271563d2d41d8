#include "processcensus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace ProcessCensus {
namespace {
struct Stat {
    char state = 0;
    int parent = 0;
    qint64 group = 0;
};
// The state letter, parent and group ids from /proc/<pid>/stat; the command name in
// parentheses may hold spaces, so the fields are read after its closing parenthesis.
bool readStat(const QString &pid, Stat *out) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = file.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (close < 0 || fields.size() < 3)
        return false;
    *out = {fields.at(0).isEmpty() ? '?' : fields.at(0).at(0), fields.at(1).toInt(), fields.at(2).toLongLong()};
    return true;
}

// Calls f(pid, stat) for every process; stops at the first call that answers true.
template <typename F> bool anyProcess(F f) {
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        Stat stat;
        if (entry.toInt() > 0 && readStat(entry, &stat) && f(entry.toInt(), stat))
            return true;
    }
    return false;
}
} // namespace

QStringList openDescriptors() {
    QStringList list;
    const QDir dir(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : dir.entryList(QDir::System | QDir::NoDotAndDotDot))
        list << fd + QStringLiteral(" -> ") + QFileInfo(dir.filePath(fd)).symLinkTarget();
    list.sort();
    return list;
}

QList<int> children() {
    QList<int> pids;
    anyProcess([&](int pid, const Stat &stat) {
        if (stat.parent == int(::getpid()))
            pids << pid;
        return false;
    });
    return pids;
}

int zombieChildren() {
    int zombies = 0;
    for (const int pid : children())
        zombies += state(pid) == QLatin1Char('Z') ? 1 : 0;
    return zombies;
}

qint64 residentBytes() {
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

QChar state(qint64 pid) {
    Stat stat;
    return readStat(QString::number(pid), &stat) ? QChar(stat.state) : QChar();
}

bool running(qint64 pid) {
    const QChar letter = state(pid);
    return !letter.isNull() && letter != QLatin1Char('Z');
}

bool groupAlive(qint64 pgid) {
    return anyProcess([&](int, const Stat &stat) { return stat.group == pgid && stat.state != 'Z'; });
}
} // namespace ProcessCensus
