// The build memory: what tool steps last read and wrote, kept in the user's cache across
// restarts, and trusted only while every file it names is as it was.
#include "engine/buildmemory.h"
#include "testsupport.h"

#include <QtTest>

namespace {
// Every hex digit shows in the file: each must read back.
const QByteArray kCitations = QByteArray::fromHex("0123456789abcdef") + "citations of the .aux";
const QByteArray kOtherCitations = QByteArray::fromHex("0123456789abcdee") + "citations";
const QString kBibtex = QStringLiteral("bibtex:thesis.aux");
const QString kMakeindex = QStringLiteral("makeindex:thesis.idx");

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestBuildMemory : public QObject {
    Q_OBJECT
    QTemporaryDir cache;
    std::unique_ptr<QTemporaryDir> docs;
    QString root; // the document's root file

    QString doc(const QString &name) const { return docs->filePath(name); }
    void put(const QString &name, const QByteArray &text) {
        QVERIFY(TestSupport::writeFile(doc(name), text));
    }
    // Adds a record of the step to the saved memory, as a step that ended well does.
    void remember(const QString &key, const QStringList &outputs,
                  const QByteArray &inputs = kCitations) {
        BuildMemory memory(root);
        memory.load();
        memory.record(key, inputs, outputs);
        QVERIFY(memory.save());
    }
    // A BibTeX run on thesis that wrote thesis.bbl, saved: what a finished build leaves.
    void rememberBibtex() {
        put("thesis.bbl", "\\begin{thebibliography}{1}\n\\end{thebibliography}\n");
        remember(kBibtex, {doc("thesis.bbl")});
    }
    // What a restarted Quireon knows about the step with these inputs.
    bool afterRestart(const QString &key = kBibtex, const QByteArray &inputs = kCitations) const {
        BuildMemory memory(root);
        memory.load();
        return memory.upToDate(key, inputs);
    }

private slots:
    void init() {
        // The user's cache folder itself need not be there yet.
        QVERIFY(QDir(cache.path()).removeRecursively());
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
        docs = std::make_unique<QTemporaryDir>();
        root = doc("thesis.tex");
        put("thesis.tex", "\\documentclass{article}\n");
    }

    // Only a saved record outlives a restart; the root sees it however its path is spelt,
    // and no other root does. It is kept in the private cache alone, under a name that
    // does not show the root's.
    void aSavedRecordIsSeenByItsRootAlone() {
        put("thesis.bbl", "bbl");
        BuildMemory(root).record(kBibtex, kCitations, {doc("thesis.bbl")});
        QVERIFY(!afterRestart());
        rememberBibtex();
        const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
        QCOMPARE(QDir(docs->path()).entryList(all), QStringList({"thesis.bbl", "thesis.tex"}));
        const QString file = BuildMemory(root).filePath();
        const QString builds = cache.path() + "/quireon/builds";
        QCOMPARE(QDir(builds).entryList(all), QStringList{QFileInfo(file).fileName()});
        QVERIFY(!QFileInfo(file).fileName().contains("thesis"));
        // Neither group nor others may do anything there (the bits of 0077).
        for (const QString &path : {cache.path() + "/quireon", builds, file})
            QCOMPARE(int(QFileInfo(path).permissions() & 0x0077), 0);
        QDir().mkpath(doc("sub"));
        for (const QString &other :
             {doc("sub/../thesis.tex"), doc("thesis2.tex"), doc("sub/thesis.tex"), doc("thesis")}) {
            const bool same = other.contains("..");
            BuildMemory memory(other);
            memory.load();
            QCOMPARE(memory.upToDate(kBibtex, kCitations), same);
            QCOMPARE(memory.filePath() == BuildMemory(root).filePath(), same);
        }
    }

    // A record is trusted while the step's inputs are the very ones recorded last and every
    // file it wrote has the contents it had. Every run rewrites its files: their contents
    // count, not their dates.
    void aRecordHoldsWhileInputsAndOutputsAreAsTheyWere() {
        put("thesis.bbl", "bibliography");
        put("thesis.blg", "transcript");
        remember(kBibtex, {doc("thesis.bbl"), doc("thesis.blg")});
        QVERIFY(!afterRestart(kBibtex, kOtherCitations));
        put("thesis.blg", "edited");
        QVERIFY(!afterRestart());
        put("thesis.blg", "transcript");
        QVERIFY(afterRestart());
        put("thesis.bbl", "edited");
        QVERIFY(!afterRestart());
        QVERIFY(QFile::remove(doc("thesis.bbl")));
        QVERIFY(!afterRestart());
        put("thesis.bbl", "bibliography");
        remember(kBibtex, {doc("thesis.bbl")}, kOtherCitations);
        QVERIFY(afterRestart(kBibtex, kOtherCitations));
        QVERIFY(!afterRestart());
    }

    // Outputs are hashed when recorded, a relative one in the root's folder. One missing
    // then leaves the step unrecorded: should it turn up later, nobody knows who wrote it.
    // So does naming more outputs than a record holds: the file could not be read back.
    void outputsAreHashedAsRecorded() {
        BuildMemory memory(root);
        memory.record(kBibtex, kCitations, {doc("thesis.bbl")});
        QVERIFY(!memory.upToDate(kBibtex, kCitations));
        put("thesis.ind", "index");
        memory.record(kMakeindex, kCitations, {"thesis.ind"});
        QVERIFY(memory.upToDate(kMakeindex, kCitations));
        put("thesis.ind", "index, changed");
        QVERIFY(!memory.upToDate(kMakeindex, kCitations));
        QStringList outputs;
        for (int i = 0; i <= BuildMemoryFormat::kMaxOutputs; ++i)
            put(outputs.emplaceBack(QString("chapter%1.aux").arg(i)), "aux");
        memory.record("splitindex:thesis.idx", kCitations, outputs);
        QVERIFY(!memory.upToDate("splitindex:thesis.idx", kCitations));
    }

    // load() holds what the file says alone. A step that starts loses its record, saved
    // too, so that one stopped half way runs again; clear() forgets every step.
    void loadForgetAndClear() {
        rememberBibtex();
        put("thesis.ind", "ind");
        BuildMemory memory(root);
        memory.record(kMakeindex, kCitations, {doc("thesis.ind")});
        memory.load();
        QVERIFY(!memory.upToDate(kMakeindex, kCitations));
        memory.record(kMakeindex, kCitations, {doc("thesis.ind")});
        memory.forget(kBibtex);
        QVERIFY(memory.save());
        QVERIFY(!afterRestart());
        QVERIFY(afterRestart(kMakeindex));
        memory.clear();
        QVERIFY(memory.save());
        QVERIFY(!afterRestart(kMakeindex));
    }

    // A file that is damaged, foreign or too long is not trusted at all, and the next
    // save replaces it. Each row is the saved file with pattern replaced (' standing for "),
    // then padded with blanks to size.
    void badFilesAreIgnoredThenOverwritten_data() {
        TestSupport::columns<QString, QString, qint64, bool>(
            {"pattern", "replacement", "size", "trusted"});
        const auto row = [](const char *name, const char *pattern, const char *replacement,
                            qint64 size = 0, bool trusted = false) {
            QTest::newRow(name) << QString(pattern).replace('\'', '"')
                                << QString(replacement).replace('\'', '"') << size << trusted;
        };
        row("truncated", "}$", "");
        row("foreign root", "('root':'[^']*)thesis", "\\1other");
        row("version 2", "'format':1", "'format':2");
        row("no version", "'format':1,", "");
        row("version as text", "'format':1", "'format':'1'");
        row("steps not a list", "'steps':\\[(.*)\\]", "'steps':\\1");
        row("key twice", "'steps':\\[(.*)\\]", "'steps':[\\1,\\1]");
        // fromHex would skip the stray characters and read what is left.
        row("damaged inputs hash", "'inputs':'01", "'inputs':'01xy");
        row("damaged output hash", "('outputs':{'[^']*':'\\w{4})", "\\1-");
        row("relative output", "('outputs':{')[^']*/", "\\1");
        row("as long as allowed", "", "", BuildMemoryFormat::kMaxBytes, true);
        row("oversized", "", "", BuildMemoryFormat::kMaxBytes + 1);
    }
    void badFilesAreIgnoredThenOverwritten() {
        QFETCH(QString, pattern);
        QFETCH(QString, replacement);
        QFETCH(qint64, size);
        QFETCH(bool, trusted);
        rememberBibtex();
        const QString file = BuildMemory(root).filePath();
        QString text = QString(readAll(file)).replace(QRegularExpression(pattern), replacement);
        QVERIFY(TestSupport::writeFile(file, text.toUtf8().leftJustified(size, ' ')));
        // A relative path would be read from wherever Quireon runs: here, the document's
        // folder. A memory that held the step before it read the file keeps nothing either.
        const auto back = qScopeGuard([was = QDir::currentPath()] { QDir::setCurrent(was); });
        QVERIFY(QDir::setCurrent(docs->path()));
        BuildMemory memory(root);
        memory.record(kBibtex, kCitations, {doc("thesis.bbl")});
        memory.load();
        QCOMPARE(memory.upToDate(kBibtex, kCitations), trusted);
        // The next save replaces the file.
        rememberBibtex();
        QVERIFY(afterRestart());
    }

    // A save that cannot be made fails and leaves whatever is in the memory's place: a file
    // where the folder should be (which stops even root), or a folder where the file should be.
    void aFailedSaveLeavesWhatIsThere() {
        BuildMemory memory(root);
        const QString file = memory.filePath();
        const QString builds = QFileInfo(file).path();
        QVERIFY(TestSupport::writeFile(builds, "in the way"));
        QVERIFY(!memory.save());
        QCOMPARE(readAll(builds), QByteArray("in the way"));
        QVERIFY(QFile::remove(builds) && QDir().mkpath(file));
        QVERIFY(!memory.save());
        QVERIFY(QFileInfo(file).isDir());
    }

    // Past the most steps a memory keeps, the ones recorded longest ago go first, and the
    // file stays small.
    void theOldestRecordsGoFirst() {
        put("thesis.ind", "ind");
        BuildMemory memory(root);
        for (int i = 0; i < 1000; ++i)
            memory.record(QString("makeindex:vol%1.idx").arg(i), kCitations, {doc("thesis.ind")});
        // Recorded again: now the newest of all.
        memory.record("makeindex:vol0.idx", kCitations, {doc("thesis.ind")});
        QVERIFY(memory.save() && QFileInfo(memory.filePath()).size() < 256 * 1024);
        QVERIFY(afterRestart("makeindex:vol0.idx") && afterRestart("makeindex:vol999.idx"));
        QVERIFY(afterRestart("makeindex:vol800.idx") && !afterRestart("makeindex:vol1.idx"));
    }
};

QTEST_GUILESS_MAIN(TestBuildMemory)
#include "test_build_memory.moc"
