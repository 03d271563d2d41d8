// Output files: the open buttons through the desktop, a refused open, and clear files
// answered by script, which removes exactly the listed outputs and nothing else.
#include "documenttest.h"

using namespace DocumentTest;

class TestDocumentOutputFiles : public DocumentTestCase {
    Q_OBJECT
    QString folder; // the root file's folder, inside the temporary one
    const QByteArray path = qgetenv("PATH");

    void openPaper() { openDocument("project/paper.tex"); }
    QPushButton *button(const char *name) { return control<QPushButton>(*document, name); }
    QStringList filesIn(const QString &path) {
        return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    }

private slots:
    void init() {
        setUp();
        folder = dir->filePath("project");
        QVERIFY(QDir().mkpath(folder));
    }
    void cleanup() { qputenv("PATH", path); }

    // A desktop status of -1 is a desktop that refuses at once; any other is the exit
    // status of a stand-in xdg-open, which answers after the open has returned.
    void failedOpenIsReported_data() {
        TestSupport::columns<bool, int, bool>({"outputExists", "desktopStatus", "reported"});
        QTest::newRow("refused at once") << true << -1 << true;
        QTest::newRow("missing output, desktop not asked") << false << 0 << true;
        QTest::newRow("no application for the type") << true << 3 << true;
        QTest::newRow("opened") << true << 0 << false;
    }
    void failedOpenIsReported() {
        QFETCH(bool, outputExists);
        QFETCH(int, desktopStatus);
        QFETCH(bool, reported);
        const QString asked = dir->filePath("asked");
        if (desktopStatus < 0)
            DesktopOpener::setOpener([](const QString &) { return false; });
        qputenv("PATH", QUIREON_FIXTURES "/desktop:" + path);
        qputenv("FAKE_DESKTOP_LOG", asked.toUtf8());
        qputenv("FAKE_DESKTOP_STATUS", QByteArray::number(desktopStatus));
        writeFile(folder + "/paper.pdf");
        openPaper();
        if (!outputExists)
            QFile::remove(folder + "/paper.pdf");
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        button("buttonFile1")->click();
        const bool asksDesktop = desktopStatus >= 0 && outputExists;
        if (asksDesktop)
            QTRY_VERIFY(QFile::exists(asked));
        QTest::qWait(100);
        QFile askedLog(asked); // the file the desktop was handed
        QCOMPARE(askedLog.open(QIODevice::ReadOnly) ? askedLog.readAll() : QByteArray(),
                 asksDesktop ? (folder + "/paper.pdf\n").toUtf8() : QByteArray());
        QTRY_COMPARE(Alerts::shown().size(), int(reported));
        QStringList lines{"Quireon> open paper.pdf"};
        if (reported) {
            QCOMPARE(Alerts::shown()[0].message, Text::format("OpenButtonErrorMessage", {"paper.pdf"}));
            lines << Text::localized("OpenButtonErrorLog").chopped(1);
        }
        QCOMPARE(logLines(*document), lines);
        QCOMPARE(fieldText(*document, "textNumErrors"), QString::number(int(reported)));
    }

    // Cancel keeps everything, and so does a confirmed clear with no extensions listed.
    void cancelOrNoExtensionsKeepEverything() {
        gQuireonPrefs->setOutputExtArray({"aux", "", "log", "", "", "", "", "", "", "", "", ""});
        writeFile(folder + "/paper.aux");
        writeFile(folder + "/paper.log");
        openPaper();
        const QStringList before = filesIn(folder);
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        button("buttonClearFiles")->click();
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].message, Text::format("ClearFileMessage", {"aux, log"}));
        QCOMPARE(filesIn(folder), before);
        gQuireonPrefs->setOutputExtArray(QStringList(12, QString()));
        Alerts::setNextAnswer(Alerts::AlternateReturn);
        button("buttonClearFiles")->click();
        QCOMPARE(filesIn(folder), before);
    }

    void clearRemovesTheListedOutputsOnly() {
        // Slots that would reach the root file itself, another folder or a user's folder.
        gQuireonPrefs->setOutputExtArray(
            {"aux", "", "log", "tex", "x/../../victim", "d", "ilg", "synctex.gz", "", "", "", ""});
        for (const char *name : {"paper.aux", "paper.log", "paper.synctex.gz", "paper.bib",
                                 "paper.d/keep.txt", "paper.x/inside"})
            QVERIFY(TestSupport::writeFile(folder + "/" + name, "x"));
        QVERIFY(TestSupport::writeFile(dir->filePath("victim"), "x"));
        QVERIFY(TestSupport::writeFile(dir->filePath("linked.txt"), "x"));
        QVERIFY(QFile::link(dir->filePath("linked.txt"), folder + "/paper.ilg"));
        gQuireonPrefs->setOpenExtArray({"pdf", "log", "dvi", "blg", "ilg"});
        openPaper();
        QVERIFY(button("buttonFile2")->isEnabled());

        Alerts::setNextAnswer(Alerts::AlternateReturn);
        button("buttonClearFiles")->click();
        QCOMPARE(filesIn(folder), (QStringList{"paper.bib", "paper.d", "paper.tex", "paper.x"}));
        QCOMPARE(filesIn(folder + "/paper.d"), QStringList{"keep.txt"});
        QVERIFY(QFile::exists(dir->filePath("victim")));
        QVERIFY(QFile::exists(dir->filePath("linked.txt"))); // the link went, not its target
        QVERIFY(!button("buttonFile2")->isEnabled());
    }
};

QTEST_MAIN(TestDocumentOutputFiles)
#include "test_document_outputfiles.moc"
