// Launch choices, opening files as documents, refusals, the process menu titles, and the
// real Quireon ending on a signal.
#include "app/appcontroller.h"
#include "app/documentlist.h"
#include "app/recentdocuments.h"
#include "app/startwindow.h"
#include "documenttest.h"
#include "processcensus.h"
#include "platform/panels.h"
#include "platform/settingsfailure.h"
#include "settings/settingsstore.h"
#include "settings/sheets/prefscontroller.h"

#include <QDialog>
#include <QProcess>
#include <QScopeGuard>

#include <csignal>

class TestAppController : public QObject {
    Q_OBJECT

    std::unique_ptr<QuireonPrefs> m_prefs;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_app;

    QString makeFile(const QString &name) { return DocumentTest::writeFile(m_dir->filePath(name), "\\relax\n"); }
    QList<MyDocument *> documents() const { return m_app->documents()->orderedDocuments(); }
    struct Stored : QuireonPrefs { Stored() { loadPreferences(); } }; // what the store holds
    // The real Quireon on a display of its own: it neither hands its files over to another
    // Quireon nor takes files from one that another test starts.
    void launchQuireon(QProcess &quireon, const QString &file,
                       QProcessEnvironment env = QProcessEnvironment::systemEnvironment()) {
        env.remove("WAYLAND_DISPLAY");
        env.insert("DISPLAY", QStringLiteral(":launch-test-%1").arg(QCoreApplication::applicationPid()));
        quireon.setProcessEnvironment(env);
        quireon.setWorkingDirectory(m_dir->path());
        quireon.start(QStringLiteral(QUIREON_BINARY_DIR "/src/quireon"), {file});
    }
    void launchToTheStartWindow() {
        m_prefs->setStartupChoice(0);
        m_app->applicationDidFinishLaunching();
    }

private slots:
    void initTestCase() { Text::installTable(); }

    void init() {
        m_prefs = DocumentTest::freshPrefs();
        SettingsFailure::reset();
        Alerts::clearShown();
        for (int i = 0; i < 3; ++i) // every alert is answered; none may block
            Alerts::setNextAnswer(Alerts::DefaultReturn);
        while (Panels::takeNextFileName()) {}
        m_dir = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<AppController>();
    }

    void cleanup() {
        m_app.reset();
        m_prefs.reset();
    }

    // The launch choice (0 start window, 1 Open panel, 2 last file) and the files a launch
    // names; a refused last file is reported, forgotten, and the panel offered.
    void launchOpensWhatItShould_data() {
        // chosen: the Open panel's answer, "" for cancelled; opened: the one document
        // expected, "" for none.
        TestSupport::columns<int, QString, QString, QString, QString, QString, bool>(
            {"choice", "last", "launchFile", "chosen", "opened", "alert", "panelShown"});
        QTest::newRow("2 reopens the last file") << 2 << "paper.tex" << "" << "" << "paper.tex" << "" << false;
        QTest::newRow("2 without a last file") << 2 << "" << "" << "" << "" << "" << true;
        QTest::newRow("2, last file of another type") << 2 << "notes.TEX" << "" << "" << "" << "OpenErrorHeader" << true;
        QTest::newRow("2, last file a folder") << 2 << "folder.tex" << "" << "" << "" << "OpenLastErrorHeader" << true;
        QTest::newRow("2, last file unreadable") << 2 << "locked.tex" << "" << "" << "" << "OpenLastErrorHeader" << true;
        QTest::newRow("1 opens the panel's choice") << 1 << "paper.tex" << "" << "chosen.tex" << "chosen.tex" << "" << true;
        QTest::newRow("0 opens nothing") << 0 << "paper.tex" << "" << "" << "" << "" << false;
        QTest::newRow("launch files win") << 2 << "paper.tex" << "a.tex" << "" << "a.tex" << "" << false;
    }
    void launchOpensWhatItShould() {
        QFETCH(int, choice);
        QFETCH(QString, last);
        QFETCH(QString, launchFile);
        QFETCH(QString, chosen);
        QFETCH(QString, opened);
        QFETCH(QString, alert);
        const QString lastPath = last.isEmpty() ? QString() : m_dir->filePath(last);
        if (last == "folder.tex")
            QVERIFY(QDir().mkpath(lastPath));
        else if (!last.isEmpty())
            makeFile(last);
        if (last == "locked.tex" && QFile::setPermissions(lastPath, QFileDevice::WriteOwner) &&
            QFileInfo(lastPath).isReadable())
            QSKIP("running with privileges that read any file");
        m_prefs->setStartupChoice(choice);
        m_prefs->setLastOpenedDocument(lastPath);
        m_prefs->savePreferences(); // a refusal forgets the file in the store too
        Panels::setNextFileName(chosen.isEmpty() ? QString() : makeFile(chosen));
        m_app->applicationDidFinishLaunching(launchFile.isEmpty() ? QStringList() : QStringList{makeFile(launchFile)});

        // The one opened is the last opened file now; a refused one is forgotten.
        const QString nowLast = !opened.isEmpty() ? m_dir->filePath(opened) : alert.isEmpty() ? lastPath : "";
        QCOMPARE(QStringList({m_prefs->lastOpenedDocument(), Stored().lastOpenedDocument()}),
                 QStringList(2, nowLast));
        QCOMPARE(documents().size(), opened.isEmpty() ? 0 : 1);
        QVERIFY(opened.isEmpty() || documents().first()->rootFilePath() == nowLast);
        QCOMPARE(bool(m_app->startWindow()), opened.isEmpty());
        QTEST(!Panels::hasPendingFileName(), "panelShown");
        QCOMPARE(Alerts::shown().size(), alert.isEmpty() ? 0 : 1);
        QVERIFY(alert.isEmpty() || (Alerts::shown().first().header == Text::localized(qPrintable(alert)) &&
                                    Alerts::shown().first().message.contains(last)));
    }

    // Every spelling of a path names one document, stored and shown in its clean form.
    void openingAnOpenPathBringsItForward() {
        const QString a = makeFile("a.tex");
        const QString b = makeFile("b.tex");
        QVERIFY(QDir(m_dir->path()).mkdir("sub"));
        launchToTheStartWindow();
        RecentDocuments::noteNewRecentDocument(m_dir->path() + "/./a.tex"); // an older entry
        QVERIFY(m_app->openFile(m_dir->path() + "/sub/../a.tex"));
        QVERIFY(!m_app->startWindow()); // an opened file closes the start window
        QVERIFY(m_app->openFile(b));
        m_prefs->setLastOpenedDocument(QString());
        QVERIFY(m_app->openFile(m_dir->path() + "/./a.tex"));
        QCOMPARE(documents().size(), 2);
        QCOMPARE(m_prefs->lastOpenedDocument(), a);
        QCOMPARE(RecentDocuments::list(), QStringList({b, a}));
    }

    // A file handed over by a second launch while the preferences are up on the start
    // window opens beside them: the sheet stays, and the start window leaves once it closes.
    void aHandedFileLeavesTheStartWindowsSheetAlone() {
        launchToTheStartWindow();
        PrefsController prefs;
        prefs.openPreferences(m_app->startWindow());
        const QPointer<QDialog> sheet = prefs.sheet();
        m_app->openFiles({makeFile("a.tex")});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(sheet && sheet->isVisible() && m_app->startWindow());
        prefs.prefsCanceled();
        QVERIFY(!m_app->startWindow());
        QGuiApplication::setQuitOnLastWindowClosed(false); // as Quireon has it
        QObject notQuitting; // closing the last document quits, the hidden start window aside
        QTimer::singleShot(5000, &notQuitting, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, [this] { documents().constFirst()->myWindow()->close(); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // The settings file cannot be written (a folder stands where it goes; permissions
    // would not stop a test running as root). Every open saves "Last Opened File": the
    // user hears about it once, and the files open all the same.
    void settingsThatCannotBeSavedAreReportedOnce() {
        const QString store = SettingsStore().fileName();
        QFile::remove(store);
        QVERIFY(QDir().mkpath(store));
        QVERIFY(m_app->openFile(makeFile("one.tex")));
        QVERIFY(m_app->openFile(makeFile("two.tex")));
        m_prefs->setInterval(5); // any later change, whoever saves it
        QVERIFY(!m_prefs->savePreferences());
        QVERIFY(Alerts::shown().size() == 1 && Alerts::shown().at(0).message.contains(store));
        QCOMPARE(documents().size(), 2);
        QCOMPARE(m_prefs->lastOpenedDocument(), m_dir->filePath("two.tex"));
    }

    void processMenuFollowsTheSettings() {
        m_app->applicationDidFinishLaunching({makeFile("a.tex")});
        QMenu *process = documents().first()->processMenu();
        DocumentTest::setEntry(&QuireonPrefs::cmdNameArray, &QuireonPrefs::setCmdNameArray, 1, "Biber");
        QVERIFY(process->actions().at(1)->text() != QStringLiteral("Biber"));
        NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        QCOMPARE(process->actions().at(1)->text(), QStringLiteral("Biber"));
    }

    // Launched with a file, the real Quireon paints that document's window; the launch
    // benchmark times the moment it says so.
    void aLaunchPaintsTheDocumentsWindow() {
        makeFile("my thesis.tex");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QUIREON_EXIT_AFTER_FIRST_PAINT", "1");
        QProcess app;
        launchQuireon(app, "my thesis.tex", env);
        QVERIFY(app.waitForFinished(20000));
        QCOMPARE(std::pair(app.exitCode(), app.readAllStandardOutput()), std::pair(0, QByteArray("first paint\n")));
    }

    // A signal ends the real Quireon: every run stops as its Stop button stops it (the
    // tool's tree ended, one deaf to SIGTERM too), nothing is asked, a modal alert that is
    // up included, and the exit status is 128 plus the signal's number.
    void aSignalStopsTheRunsAndQuits() {
        DocumentTest::setCommand(0, TestSupport::fixture("deaf_tree.sh") + " %1");
        DocumentTest::setProcedure({1});
        m_prefs->setInterval(1);
        QVERIFY(m_prefs->savePreferences());
        const QString root = makeFile("main.tex");
        QProcess app;
        launchQuireon(app, "main.tex");
        // Saves until auto mode has started the tool, which writes its process group.
        QByteArray group;
        qint64 seconds = 1000000000;
        const auto started = [&] {
            DocumentTest::setModified(root, ++seconds);
            QFile file(m_dir->filePath("main.group"));
            group = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return group.endsWith('\n');
        };
        QTRY_VERIFY_WITH_TIMEOUT(started(), 20000);
        const qint64 id = group.trimmed().toLongLong();
        const auto cleanup = qScopeGuard([id] {
            if (ProcessCensus::groupAlive(id))
                ::kill(pid_t(-id), SIGKILL);
        });
        QProcess second; // a file that is not .tex, handed over: the refusal is an alert
        launchQuireon(second, "notes.txt");
        QVERIFY(second.waitForFinished(10000) && second.exitCode() == 0);
        ::kill(pid_t(app.processId()), SIGHUP);
        QVERIFY(app.waitForFinished(15000));
        QCOMPARE(std::pair(app.exitStatus(), app.exitCode()), std::pair(QProcess::NormalExit, 128 + SIGHUP));
        QTRY_VERIFY(!ProcessCensus::groupAlive(id));
    }
};

QTEST_MAIN(TestAppController)
#include "test_app_controller.moc"
