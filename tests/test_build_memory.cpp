// The build memory: what tool steps last read and wrote, kept in the user's cache across
// restarts, and trusted only while every file it names is as it was.
#include "engine/buildmemory.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// Every hex digit shows in the file: each must read back.
const QByteArray kCitations = QByteArray::fromHex("0123456789abcdef") + "citations of the .aux";
const QByteArray kOtherCitations = QByteArray::fromHex("0123456789abcdee") + "citations";

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList entriesOf(const QString &folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                  QDir::Name);
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
    // A BibTeX run on thesis that wrote thesis.bbl, saved: what a finished build leaves.
    void rememberBibtex() {
        put("thesis.bbl", "\\begin{thebibliography}{1}\n\\end{thebibliography}\n");
        BuildMemory memory(root);
        memory.record("bibtex:thesis.aux", kCitations, {doc("thesis.bbl")});
        QVERIFY(memory.save());
    }
    // What a restarted Quireon knows about the step with these inputs.
    bool afterRestart(const QString &key = "bibtex:thesis.aux",
                      const QByteArray &inputs = kCitations) const {
        BuildMemory memory(root);
        memory.load();
        return memory.upToDate(key, inputs);
    }

private slots:
    void initTestCase() {
        QVERIFY(cache.isValid());
        qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    }
    void init() {
        // The user's cache folder itself need not be there yet.
        QDir(cache.path()).removeRecursively();
        docs = std::make_unique<QTemporaryDir>();
        root = doc("thesis.tex");
        put("thesis.tex", "\\documentclass{article}\n");
    }

    void aRecordSurvivesARestart() {
        rememberBibtex();
        QVERIFY(afterRestart());
    }

    void aRecordNotSavedIsGoneAfterARestart() {
        put("thesis.bbl", "bbl");
        BuildMemory memory(root);
        memory.record("bibtex:thesis.aux", kCitations, {doc("thesis.bbl")});
        QVERIFY(memory.upToDate("bibtex:thesis.aux", kCitations));
        QVERIFY(!afterRestart());
    }

    void otherRootsDoNotSeeIt() {
        rememberBibtex();
        for (const QString &other : {doc("thesis2.tex"), doc("sub/thesis.tex"), doc("thesis")}) {
            BuildMemory memory(other);
            memory.load();
            QVERIFY2(!memory.upToDate("bibtex:thesis.aux", kCitations), qPrintable(other));
            QVERIFY(memory.filePath() != BuildMemory(root).filePath());
        }
    }

    void anotherSpellingOfTheSameRootSharesIt() {
        rememberBibtex();
        QDir().mkpath(doc("sub"));
        BuildMemory memory(doc("sub/../thesis.tex"));
        memory.load();
        QVERIFY(memory.upToDate("bibtex:thesis.aux", kCitations));
    }

    void changedInputsAreNotUpToDate() {
        rememberBibtex();
        QVERIFY(!afterRestart("bibtex:thesis.aux", kOtherCitations));
        QVERIFY(!afterRestart("bibtex:thesis.aux", {}));
        QVERIFY(!afterRestart("makeindex:thesis.idx", kCitations));
    }

    void anOutputChangedOutsideIsNotUpToDate() {
        rememberBibtex();
        put("thesis.bbl", "edited by hand\n");
        QVERIFY(!afterRestart());
    }

    void anOutputRemovedOutsideIsNotUpToDate() {
        rememberBibtex();
        QVERIFY(QFile::remove(doc("thesis.bbl")));
        QVERIFY(!afterRestart());
    }

    void anOutputRewrittenAlikeIsStillUpToDate() {
        // Every run rewrites its files: their contents count, not their dates.
        rememberBibtex();
        const QByteArray text = readAll(doc("thesis.bbl"));
        QVERIFY(QFile::remove(doc("thesis.bbl")));
        put("thesis.bbl", text);
        QVERIFY(afterRestart());
    }

    void everyOutputIsChecked() {
        put("thesis.gls", "glossary");
        put("thesis.acr", "acronyms");
        BuildMemory memory(root);
        memory.record("makeglossaries:thesis", kCitations, {doc("thesis.gls"), doc("thesis.acr")});
        QVERIFY(memory.save());
        QVERIFY(afterRestart("makeglossaries:thesis"));
        put("thesis.acr", "acronyms, changed");
        QVERIFY(!afterRestart("makeglossaries:thesis"));
    }

    void aStepWithTooManyOutputsSpoilsNoOtherRecord() {
        rememberBibtex();
        BuildMemory memory(root);
        memory.load();
        QStringList outputs;
        for (int i = 0; i < 100; ++i) {
            outputs << doc(QString("chapter%1.aux").arg(i));
            put(outputs.last().section('/', -1), "aux");
        }
        memory.record("splitindex:thesis.idx", kCitations, outputs);
        QVERIFY(memory.save());
        QVERIFY(afterRestart());
    }

    void relativeOutputsAreTakenFromTheRootsFolder() {
        put("thesis.ind", "index");
        BuildMemory memory(root);
        memory.record("makeindex:thesis.idx", kCitations, {"thesis.ind"});
        QVERIFY(memory.upToDate("makeindex:thesis.idx", kCitations));
        put("thesis.ind", "index, changed");
        QVERIFY(!memory.upToDate("makeindex:thesis.idx", kCitations));
    }

    void anOutputMissingWhenRecordedIsNotTrusted() {
        BuildMemory memory(root);
        memory.record("bibtex:thesis.aux", kCitations, {doc("thesis.bbl")});
        QVERIFY(!memory.upToDate("bibtex:thesis.aux", kCitations));
        // Should it turn up later, nobody knows who wrote it.
        put("thesis.bbl", "bbl");
        QVERIFY(!memory.upToDate("bibtex:thesis.aux", kCitations));
    }

    void aNewRecordReplacesTheOld() {
        rememberBibtex();
        BuildMemory memory(root);
        memory.load();
        memory.record("bibtex:thesis.aux", kOtherCitations, {doc("thesis.bbl")});
        QVERIFY(memory.save());
        QVERIFY(afterRestart("bibtex:thesis.aux", kOtherCitations));
        QVERIFY(!afterRestart("bibtex:thesis.aux", kCitations));
    }

    void aStepThatStartsIsForgotten() {
        rememberBibtex();
        put("thesis.idx", "idx");
        put("thesis.ind", "ind");
        BuildMemory memory(root);
        memory.load();
        memory.record("makeindex:thesis.idx", kCitations, {doc("thesis.ind")});
        memory.forget("bibtex:thesis.aux");
        QVERIFY(!memory.upToDate("bibtex:thesis.aux", kCitations));
        QVERIFY(memory.upToDate("makeindex:thesis.idx", kCitations));
        // Stopped half way: the saved memory does not vouch for it either.
        QVERIFY(memory.save());
        QVERIFY(!afterRestart());
        QVERIFY(afterRestart("makeindex:thesis.idx"));
    }

    void clearForgetsEverything() {
        rememberBibtex();
        BuildMemory memory(root);
        memory.load();
        memory.clear();
        QVERIFY(!memory.upToDate("bibtex:thesis.aux", kCitations));
        QVERIFY(memory.save());
        QVERIFY(!afterRestart());
    }

    void loadStartsFromTheFileAlone() {
        // A memory loaded again holds what the file says, not what it held before.
        rememberBibtex();
        BuildMemory memory(root);
        memory.load();
        put("thesis.ind", "ind");
        memory.record("makeindex:thesis.idx", kCitations, {doc("thesis.ind")});
        memory.load();
        QVERIFY(!memory.upToDate("makeindex:thesis.idx", kCitations));
        QVERIFY(memory.upToDate("bibtex:thesis.aux", kCitations));
    }

    void badFilesAreIgnoredThenOverwritten_data() {
        TestSupport::columns<QString>({"damage"});
        for (const char *damage :
             {"garbage", "empty", "truncated", "foreign root", "version 2", "no version",
              "version as text", "steps not a list", "damaged inputs hash", "damaged output hash",
              "relative output", "key twice", "oversized"})
            QTest::newRow(damage) << QString::fromLatin1(damage);
    }
    void badFilesAreIgnoredThenOverwritten() {
        QFETCH(QString, damage);
        rememberBibtex();
        const QString file = BuildMemory(root).filePath();
        const QByteArray good = readAll(file);
        QJsonObject top = QJsonDocument::fromJson(good).object();
        QVERIFY(!top.isEmpty());
        QJsonArray steps = top.value("steps").toArray();
        QCOMPARE(steps.size(), 1);
        QJsonObject step = steps.at(0).toObject();
        const QString bbl = doc("thesis.bbl");
        QJsonObject outputs = step.value("outputs").toObject();
        QVERIFY(outputs.contains(bbl));
        const QString inputsHex = step.value("inputs").toString();
        const QString outputHex = outputs.value(bbl).toString();

        QByteArray bad;
        QString startFolder = QDir::currentPath();
        auto withStep = [&](const QJsonObject &changed) {
            QJsonObject copy = top;
            copy.insert("steps", QJsonArray{changed});
            return QJsonDocument(copy).toJson();
        };
        if (damage == "garbage") {
            bad = "\x89PNG\r\n\x1a\n not a memory at all";
        } else if (damage == "truncated") {
            bad = good.left(good.size() - 2);
        } else if (damage == "foreign root") {
            // Another root's memory at this root's place: same steps, same files.
            BuildMemory other(doc("other.tex"));
            other.record("bibtex:thesis.aux", kCitations, {bbl});
            QVERIFY(other.save());
            bad = readAll(other.filePath());
            QVERIFY(!bad.isEmpty());
        } else if (damage == "version 2") {
            top.insert("format", 2);
            bad = QJsonDocument(top).toJson();
        } else if (damage == "no version") {
            top.remove("format");
            bad = QJsonDocument(top).toJson();
        } else if (damage == "version as text") {
            top.insert("format", "1");
            bad = QJsonDocument(top).toJson();
        } else if (damage == "steps not a list") {
            top.insert("steps", step);
            bad = QJsonDocument(top).toJson();
        } else if (damage == "damaged inputs hash") {
            // fromHex would skip the stray characters and read what is left.
            step.insert("inputs", inputsHex.left(2) + "xy" + inputsHex.mid(2));
            bad = withStep(step);
        } else if (damage == "damaged output hash") {
            outputs.insert(bbl, outputHex.left(4) + "-" + outputHex.mid(4));
            step.insert("outputs", outputs);
            bad = withStep(step);
        } else if (damage == "relative output") {
            // Read from wherever Quireon happens to run; here that is the document's folder.
            QVERIFY(QDir::setCurrent(docs->path()));
            outputs.remove(bbl);
            outputs.insert("thesis.bbl", outputHex);
            step.insert("outputs", outputs);
            bad = withStep(step);
        } else if (damage == "key twice") {
            QJsonObject copy = top;
            copy.insert("steps", QJsonArray{step, step});
            bad = QJsonDocument(copy).toJson();
        } else if (damage == "oversized") {
            bad = good + QByteArray(5 * 1024 * 1024, ' ');
        }
        QVERIFY(TestSupport::writeFile(file, bad));
        const bool trusted = afterRestart();
        // Nor does a memory that held the step before it read the file.
        BuildMemory held(root);
        held.record("bibtex:thesis.aux", kCitations, {bbl});
        held.load();
        QVERIFY(QDir::setCurrent(startFolder));
        QVERIFY(!trusted);
        QVERIFY(!held.upToDate("bibtex:thesis.aux", kCitations));

        put("thesis.ind", "ind");
        BuildMemory memory(root);
        memory.load();
        memory.record("makeindex:thesis.idx", kCitations, {doc("thesis.ind")});
        QVERIFY(memory.save());
        QVERIFY(afterRestart("makeindex:thesis.idx"));
        QVERIFY(!afterRestart());
    }

    void anUnwritableCacheIsNotFatal() {
        rememberBibtex();
        const QString file = BuildMemory(root).filePath();
        // A file where the folder should be stops even root from writing there.
        const QString builds = QFileInfo(file).path();
        QVERIFY(QDir(builds).removeRecursively());
        QVERIFY(TestSupport::writeFile(builds, "in the way"));
        BuildMemory memory(root);
        memory.record("bibtex:thesis.aux", kOtherCitations, {doc("thesis.bbl")});
        QVERIFY(!memory.save());
        QVERIFY(memory.upToDate("bibtex:thesis.aux", kOtherCitations));
        QCOMPARE(readAll(builds), QByteArray("in the way"));

        // A folder where the file should be: the save fails and leaves it.
        QVERIFY(QFile::remove(builds));
        QVERIFY(QDir().mkpath(file));
        QVERIFY(!memory.save());
        QVERIFY(QFileInfo(file).isDir());
    }

    void aFailedSaveLeavesTheOldFile() {
        rememberBibtex();
        const QString file = BuildMemory(root).filePath();
        const QByteArray old = readAll(file);
        // The folder can be read and entered but not written: the new file cannot be made.
        const QString builds = QFileInfo(file).path();
        QVERIFY(QFile::setPermissions(builds, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QFile probe(builds + "/probe");
        const bool enforced = !probe.open(QIODevice::WriteOnly);
        probe.remove();
        BuildMemory memory(root);
        memory.record("bibtex:thesis.aux", kOtherCitations, {doc("thesis.bbl")});
        const bool saved = memory.save();
        QVERIFY(QFile::setPermissions(builds, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
        if (!enforced)
            QSKIP("file permissions are not enforced for this user (root)");
        QVERIFY(!saved);
        QCOMPARE(readAll(file), old);
        QVERIFY(afterRestart());
    }

    void theMemoryIsKeptInThePrivateCacheAlone() {
        const QStringList before = entriesOf(docs->path());
        rememberBibtex();
        QStringList expected = QStringList(before) << "thesis.bbl";
        expected.sort();
        QCOMPARE(entriesOf(docs->path()), expected);

        const QString file = BuildMemory(root).filePath();
        QCOMPARE(QFileInfo(file).path(), cache.path() + "/quireon/builds");
        QCOMPARE(entriesOf(cache.path() + "/quireon/builds"), {QFileInfo(file).fileName()});
        QVERIFY(!QFileInfo(file).fileName().contains("thesis"));
        const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner | QFileDevice::ReadUser |
                               QFileDevice::WriteUser | QFileDevice::ExeUser;
        for (const QString &folder : {cache.path() + "/quireon", cache.path() + "/quireon/builds"})
            QCOMPARE(QFileInfo(folder).permissions() & ~ownerOnly, QFileDevice::Permissions());
        QCOMPARE(QFileInfo(file).permissions() & ~ownerOnly, QFileDevice::Permissions());
    }

    void theOldestRecordsGoFirst() {
        put("thesis.ind", "ind");
        BuildMemory memory(root);
        for (int i = 0; i < 1000; ++i)
            memory.record(QString("makeindex:part%1.idx").arg(i), kCitations, {doc("thesis.ind")});
        // Recorded again: now the newest of all.
        memory.record("makeindex:part0.idx", kCitations, {doc("thesis.ind")});
        QVERIFY(memory.save());
        QVERIFY(QFileInfo(memory.filePath()).size() < 256 * 1024);
        QVERIFY(afterRestart("makeindex:part0.idx"));
        QVERIFY(afterRestart("makeindex:part999.idx"));
        QVERIFY(afterRestart("makeindex:part800.idx"));
        QVERIFY(!afterRestart("makeindex:part1.idx"));
        QVERIFY(!afterRestart("makeindex:part500.idx"));
    }
};

QTEST_GUILESS_MAIN(TestBuildMemory)
#include "test_build_memory.moc"
