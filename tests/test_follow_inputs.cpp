// Which files a run read, from real pdflatex, bibtex and makeindex output kept in
// tests/data/follow (a root file and a chapter folder with spaces in their names, a
// figure, a bibliography and an index style).
#include "follow/inputlogs.h"
#include "follow/projectinputs.h"
#include "follow/runwrites.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kSample = QStringLiteral(QUIREON_TESTDATA "/follow");
const QString kRoot = QStringLiteral("thesis main.tex");
const QString kEngine = QStringLiteral("/usr/bin/pdflatex -recorder %1");
const QStringList kInputs = {"Chapter 1/chapter one.tex", "figs/dot.png", "figs/box.pdf",
                             "refs.bib", "style.ist"};

QString readSample(const QString &name) {
    QFile file(kSample + u'/' + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

// A copy of the sample project whose recorder file names the copy's folder.
bool copySample(const QTemporaryDir &dir) {
    for (const QString &name : QDir(kSample).entryList(QDir::Files)) {
        if (!QFile::copy(kSample + u'/' + name, dir.filePath(name)))
            return false;
    }
    const QString recorder = readSample("thesis main.fls").replace("PWD /tmp/fsample", "PWD " + dir.path());
    return QDir(dir.path()).mkpath("Chapter 1") && QDir(dir.path()).mkpath("figs")
        && QFile::copy(kSample + "/Chapter 1/chapter one.tex", dir.filePath("Chapter 1/chapter one.tex"))
        && QFile::copy(kSample + "/figs/dot.png", dir.filePath("figs/dot.png"))
        && QFile::copy(kSample + "/figs/box.pdf", dir.filePath("figs/box.pdf"))
        && TestSupport::writeFile(dir.filePath("thesis main.fls"), recorder.toUtf8());
}
} // namespace

class TestFollowInputs : public QObject {
    Q_OBJECT
private slots:
    void logNamesTheFilesTexOpened_data() {
        TestSupport::columns<QString, QStringList>({"line", "expected"});
        QTest::newRow("name with spaces at the end of a line") << "(./thesis main.tex" << QStringList{"./thesis main.tex"};
        QTest::newRow("closed on the same line") << ") (./Chapter 1/chapter one.tex) [1]" << QStringList{"./Chapter 1/chapter one.tex"};
        QTest::newRow("quoted") << "(\"./Chapter 1/chapter one.tex\"" << QStringList{"./Chapter 1/chapter one.tex"};
        QTest::newRow("graphics") << " [2 <./figs/dot.png (PNG copy)> <use figs/box.pdf>]" << QStringList{"./figs/dot.png", "figs/box.pdf"};
        QTest::newRow("graphic with its size") << "<figs/dot.png, id=1, 2.0075pt x 2.0075pt>" << QStringList{"figs/dot.png"};
        QTest::newRow("DVI route") << "File: figs/dot.png Graphic file (type png)" << QStringList{"figs/dot.png"};
        QTest::newRow("ordinary parentheses") << "(see refs.bib) (./refs (not a file (type pdf)" << QStringList{};
        QTest::newRow("file that is not there") << "(./gone.tex)" << QStringList{};
        // TeX breaks log lines after 79 characters, names included.
        const auto full = [](const QString &end) { return QString(79 - end.size(), u'x') + end; };
        QTest::newRow("name broken across lines") << full(" (./Chapter 1/chapter on") + "\ne.tex) [1]" << QStringList{"./Chapter 1/chapter one.tex"};
        // pdfTeX counts bytes: "é" fills two of the 79.
        QTest::newRow("broken after non-ASCII text") << full("é (./Chapter 1/chapter ").sliced(1) + "\none.tex)" << QStringList{"./Chapter 1/chapter one.tex"};
        QTest::newRow("full line that was not broken") << full(" (./refs.bib") + "\nPackage x Info: (./style.ist)"
                                                       << QStringList{"./refs.bib", "./style.ist"};
    }
    void logNamesTheFilesTexOpened() {
        QFETCH(QString, line);
        QFETCH(QStringList, expected);
        const QDir folder(kSample);
        const auto isFile = [&folder](const QString &name) { return QFileInfo(folder, name).isFile(); };
        QCOMPARE(InputLogs::texLogReads(line, isFile), expected);
    }

    // The same inputs from the recorder file and from the log with the bibtex and makeindex
    // logs; never the root file, the files the run writes or TeX's own files.
    void projectInputsFromEitherRecord_data() {
        QTest::addColumn<bool>("recorder");
        QTest::newRow("recorder file") << true;
        QTest::newRow("log only") << false;
    }
    void projectInputsFromEitherRecord() {
        QFETCH(bool, recorder);
        QTemporaryDir dir;
        QVERIFY(copySample(dir));
        if (!recorder)
            QVERIFY(QFile::remove(dir.filePath("thesis main.fls")));
        QStringList expected;
        for (const QString &name : kInputs)
            expected.append(dir.filePath(name));
        const QStringList learned = ProjectInputs::learn(dir.filePath(kRoot), kEngine, {"aux", "log"}, "/nonexistent");
        QCOMPARE(sorted(learned), sorted(expected));
    }

    // The engine's log and recorder file are read where its command line sends them.
    void runFilesWhereTheCommandLinePutsThem_data() {
        TestSupport::columns<QString, QString>({"options", "logBase"});
        QTest::newRow("beside the root") << "-synctex=1" << "main";
        QTest::newRow("output folder") << "-output-directory=build" << "build/main";
        QTest::newRow("output folder as the next word") << "--output-directory build" << "build/main";
        QTest::newRow("job name") << "-jobname=thesis" << "thesis";
        QTest::newRow("both, the last folder winning") << "-output-directory=x -jobname %1-print -output-directory=out"
                                                       << "out/main-print";
    }
    void runFilesWhereTheCommandLinePutsThem() {
        QFETCH(QString, options);
        QFETCH(QString, logBase);
        QTemporaryDir dir;
        const QString chapter = dir.filePath("chapters/one.tex");
        QVERIFY(TestSupport::writeFile(chapter, "one") && TestSupport::writeFile(dir.filePath("main.tex"), "root"));
        QVERIFY(TestSupport::writeFile(dir.filePath(logBase + ".log"), "(./main.tex (./chapters/one.tex))"));
        const QString command = "/usr/bin/pdflatex " + options + " %1";
        QCOMPARE(ProjectInputs::learn(dir.filePath("main.tex"), command, {}, "/nonexistent"), QStringList{chapter});
    }

    // Opened through a symbolic link to its folder, the document's recorder file names the
    // folder the link resolves to; its files are followed under the path the user opened.
    void recorderThroughLinkedFolder() {
        QTemporaryDir dir;
        QVERIFY(copySample(dir));
        const QString link = dir.path() + "-link";
        QVERIFY(QFile::link(dir.path(), link));
        const auto unlink = qScopeGuard([&] { QFile::remove(link); });
        QStringList expected;
        for (const QString &name : kInputs)
            expected.append(link + u'/' + name);
        QCOMPARE(sorted(ProjectInputs::learn(link + u'/' + kRoot, kEngine, {"aux", "log"}, "/nonexistent")), sorted(expected));
    }

    // A file changed while a step ran is that step's output, unless the step is an engine
    // (which names its outputs itself) or a known tool and the file is a source; a file
    // changed before the step or after it was saved by the user.
    void stepWritesToldFromSaves_data() {
        TestSupport::columns<QString, QString, QString, bool>({"command", "file", "when", "wrote"});
        QTest::newRow("script, during") << "./make-table.sh %1" << "table.tex" << "during" << true;
        QTest::newRow("script, after it") << "./make-table.sh %1" << "table.tex" << "after" << false;
        QTest::newRow("script, before the run") << "./make-table.sh %1" << "table.tex" << "before" << false;
        QTest::newRow("index tool, its output") << "/usr/bin/makeindex %1.nlo -s nomencl.ist -o %1.nls" << "main.nls" << "during" << true;
        QTest::newRow("index tool, a chapter") << "/usr/bin/makeindex %1" << "chapter.tex" << "during" << false;
        QTest::newRow("engine") << "/usr/bin/pdflatex %1" << "main.nls" << "during" << false;
    }
    void stepWritesToldFromSaves() {
        QFETCH(QString, command);
        QFETCH(QString, file);
        QFETCH(QString, when);
        QFETCH(bool, wrote);
        QTemporaryDir dir;
        const QString path = dir.filePath(file);
        RunWrites writes;
        writes.runStarted();
        writes.stepStarted(command);
        QVERIFY(TestSupport::writeFile(path, "written"));
        writes.stepEnded();
        std::optional<FileStamp> stamp = FileStamp::of(path);
        QVERIFY(stamp);
        const qint64 shift = when == "after" ? 10 : when == "before" ? -10 : 0;
        stamp->seconds += shift;
        QCOMPARE(writes.wrote(path, *stamp), wrote);
        QCOMPARE(writes.predatesRun(*stamp), when == "before");

        // A step cut short never ends: the next run starts without it, so a later save is
        // the user's.
        writes.stepStarted(command);
        writes.runStarted();
        stamp->seconds += 20;
        QVERIFY(!writes.wrote(path, *stamp));
    }

    void onlyTheUsersFilesAreFollowed_data() {
        TestSupport::columns<QString, bool>({"path", "followed"});
        QTest::newRow("root folder tree") << "/work/thesis/Chapter 2/chapter2.tex" << true;
        QTest::newRow("home") << "/home/ann/texmf/tex/latex/mine/mine.cls" << true;
        QTest::newRow("folder whose name starts alike") << "/work/thesis2/x.tex" << false;
        QTest::newRow("system tree") << "/usr/share/texlive/texmf-dist/tex/latex/base/article.cls" << false;
        QTest::newRow("user's TeX Live tree") << "/home/ann/.texlive2022/texmf-var/web2c/x.fmt" << false;
        QTest::newRow("user's generated files") << "/home/ann/.texmf-var/fonts/pk/cmr10.pk" << false;
        QTest::newRow("user's TeX configuration") << "/home/ann/.texmf-config/web2c/updmap.cfg" << false;
        QTest::newRow("a tree's configuration") << "/opt/tl/texmf-config/web2c/fmtutil.cnf" << false;
        QTest::newRow("a tree's packages") << "/opt/tl/texmf-dist/tex/latex/base/book.cls" << false;
        QTest::newRow("elsewhere") << "/etc/texmf/web2c/texmf.cnf" << false;
    }
    void onlyTheUsersFilesAreFollowed() {
        QFETCH(QString, path);
        QFETCH(bool, followed);
        QCOMPARE(ProjectInputs::isUsersFile(path, "/work/thesis", "/home/ann"), followed);
    }
};

QTEST_MAIN(TestFollowInputs)
#include "test_follow_inputs.moc"
