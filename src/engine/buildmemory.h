#pragma once

#include "buildmemoryformat.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What the tool steps of a root's builds (BibTeX, Biber, MakeIndex, makeglossaries...) last
// read and wrote, kept across restarts so that a step whose inputs and outputs are as they
// were is not run again. Kept in the user's cache, $XDG_CACHE_HOME/quireon/builds, one file per
// root named by a hash of the root's absolute path: never beside the user's files.
class BuildMemory {
public:
    // The memory of builds of the root file at rootFilePath; a relative path is taken from
    // the current folder. Starts empty until load().
    explicit BuildMemory(const QString &rootFilePath);

    // Reads the root's file. An unreadable, damaged or foreign file (another root, another
    // format version) is not trusted in any part: the memory is then empty.
    void load();
    // Writes the memory atomically, making the cache folders private (0700) when they are
    // new. On failure the old file stays as it was and false comes back.
    bool save() const;

    // The step named key (e.g. "bibtex:thesis.aux") ended well after reading inputs whose
    // digest is inputsDigest and writing the files outputs, hashed now. A relative output is
    // taken from the root's folder. Should an output be unreadable already, or the digest
    // empty, the step is left without a record: it runs next time.
    void record(const QString &key, const QByteArray &inputsDigest, const QStringList &outputs);
    // Whether the step's last good run read inputs of this very digest and every file it
    // wrote still has the contents it had then; one changed or removed since is not trusted.
    bool upToDate(const QString &key, const QByteArray &inputsDigest) const;
    // The step is starting: until it ends well it has no record, so one stopped half way
    // runs again. Save afterwards so that a crash in the step does not leave the old record.
    void forget(const QString &key);
    void clear();

    QString rootFilePath() const { return m_root; }
    // Where the memory is kept; empty when the user has no cache folder.
    QString filePath() const { return m_file; }

private:
    qsizetype indexOf(const QString &key) const;

    QString m_root;
    QString m_file;
    QList<RememberedStep> m_steps; // oldest recorded first
};
