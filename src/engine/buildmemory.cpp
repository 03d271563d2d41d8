#include "buildmemory.h"

#include "procedure/filehashes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <sys/stat.h>

namespace {
QString cacheFolder() {
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/quireon/builds");
}

// Makes the folders of the memory, ours made private from the start; folders already there
// are left as the user has them.
bool makeFolder(const QString &folder) {
    const QString quireon = QFileInfo(folder).path();
    QDir().mkpath(QFileInfo(quireon).path());
    for (const QString &path : {quireon, folder})
        ::mkdir(QFile::encodeName(path).constData(), 0700);
    return QFileInfo(folder).isDir();
}

QString absolute(const QString &path, const QString &base) {
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}
} // namespace

BuildMemory::BuildMemory(const QString &rootFilePath)
    : m_root(QDir::cleanPath(QFileInfo(rootFilePath).absoluteFilePath())) {
    const QString folder = cacheFolder();
    if (!folder.isEmpty()) {
        // The name tells roots apart without leaking or depending on the path's characters.
        const QByteArray name =
            QCryptographicHash::hash(m_root.toUtf8(), QCryptographicHash::Sha256).toHex();
        m_file = folder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".json");
    }
}

void BuildMemory::load() {
    m_steps.clear();
    QFile file(m_file);
    if (m_file.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    // One byte past the limit is enough to tell an oversized file.
    const QByteArray text = file.read(BuildMemoryFormat::kMaxBytes + 1);
    if (const auto steps = BuildMemoryFormat::decode(text, m_root))
        m_steps = *steps;
}

bool BuildMemory::save() const {
    if (m_file.isEmpty() || !makeFolder(QFileInfo(m_file).path()))
        return false;
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray text = BuildMemoryFormat::encode(m_root, m_steps);
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void BuildMemory::record(const QString &key, const QByteArray &inputsDigest,
                         const QStringList &outputs) {
    forget(key);
    if (inputsDigest.isEmpty() || outputs.size() > BuildMemoryFormat::kMaxOutputs)
        return;
    RememberedStep step{key, inputsDigest, {}};
    const QString base = QFileInfo(m_root).path();
    for (const QString &output : outputs) {
        const QString path = absolute(output, base);
        const QByteArray contents = FileHash::of(path);
        if (contents.isEmpty())
            return;
        step.outputs.insert(path, contents);
    }
    m_steps.append(step);
    while (m_steps.size() > BuildMemoryFormat::kMaxSteps)
        m_steps.removeFirst();
}

bool BuildMemory::upToDate(const QString &key, const QByteArray &inputsDigest) const {
    const qsizetype index = indexOf(key);
    if (index < 0 || inputsDigest.isEmpty())
        return false;
    const RememberedStep &step = m_steps.at(index);
    if (step.inputs != inputsDigest)
        return false;
    for (auto it = step.outputs.cbegin(); it != step.outputs.cend(); ++it)
        if (FileHash::of(it.key()) != it.value())
            return false;
    return true;
}

void BuildMemory::forget(const QString &key) {
    if (const qsizetype index = indexOf(key); index >= 0)
        m_steps.removeAt(index);
}

void BuildMemory::clear() {
    m_steps.clear();
}

qsizetype BuildMemory::indexOf(const QString &key) const {
    for (qsizetype i = 0; i < m_steps.size(); ++i)
        if (m_steps.at(i).key == key)
            return i;
    return -1;
}
