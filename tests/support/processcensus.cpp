#include "processcensus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace ProcessCensus {
namespace {
// The state letter and parent id from /proc/<pid>/stat; the command name in parentheses
// may hold spaces, so the fields are read after its closing parenthesis.
bool readStat(const QString &pid, char *state, int *parent, qint64 *group = nullptr)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = file.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (close < 0 || fields.size() < 2)
        return false;
    *state = fields.at(0).isEmpty() ? '?' : fields.at(0).at(0);
    *parent = fields.at(1).toInt();
    if (group)
        *group = fields.value(2).toLongLong();
    return true;
}

template <typename F> void forEachChild(F f)
{
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const int pid = entry.toInt(&number);
        char state = '?';
        int parent = 0;
        if (number && readStat(entry, &state, &parent) && parent == int(::getpid()))
            f(pid, state);
    }
}
} // namespace

QStringList openDescriptors()
{
    QStringList list;
    const QDir dir(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : dir.entryList(QDir::System | QDir::NoDotAndDotDot))
        list << fd + QStringLiteral(" -> ") + QFileInfo(dir.filePath(fd)).symLinkTarget();
    list.sort();
    return list;
}

QList<int> children()
{
    QList<int> pids;
    forEachChild([&](int pid, char) { pids << pid; });
    return pids;
}

int zombieChildren()
{
    int zombies = 0;
    forEachChild([&](int, char state) { zombies += state == 'Z' ? 1 : 0; });
    return zombies;
}

qint64 residentBytes()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * ::sysconf(_SC_PAGESIZE) : -1;
}

QChar state(qint64 pid)
{
    char letter = 0;
    int parent = 0;
    return readStat(QString::number(pid), &letter, &parent) ? QChar(letter) : QChar();
}

bool running(qint64 pid)
{
    const QChar letter = state(pid);
    return !letter.isNull() && letter != QLatin1Char('Z');
}

bool groupAlive(qint64 pgid)
{
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        char letter = 0;
        int parent = 0;
        qint64 group = 0;
        if (entry.toLongLong() > 0 && readStat(entry, &letter, &parent, &group) &&
            group == pgid && letter != 'Z')
            return true;
    }
    return false;
}
} // namespace ProcessCensus
