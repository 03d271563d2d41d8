// Launch choices, opening files as documents, refusals and the process menu titles.
#include "app/appcontroller.h"
#include "app/documentlist.h"
#include "app/recentdocuments.h"
#include "app/startwindow.h"
#include "document/mydocument.h"
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "platform/panels.h"
#include "platform/settingsfailure.h"
#include "settings/settingsstore.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/sheets/prefscontroller.h"
#include "testsupport.h"
#include "window/mywindow.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QtTest>

class TestAppController : public QObject
{
    Q_OBJECT

    std::unique_ptr<QuireonPrefs> m_prefs;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<AppController> m_app;

    QString makeFile(const QString &name)
    {
        const QString path = m_dir->filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("\\documentclass{article}\n");
        return path;
    }

    QStringList shownHeaders() const
    {
        QStringList headers;
        for (const Alerts::Shown &s : Alerts::shown())
            headers << s.header;
        return headers;
    }

    // Launches with the given choice; a cancelled Open panel when it is asked for.
    void launch(int choice, const QString &last = {})
    {
        m_prefs->setStartupChoice(choice);
        m_prefs->setLastOpenedDocument(last);
        m_prefs->savePreferences();
        Panels::setNextFileName(QString());
        m_app->applicationDidFinishLaunching();
    }

private slots:
    void initTestCase() { Text::installTable(); }

    void init()
    {
        TestSupport::freshSettings();
        SettingsFailure::reset();
        Alerts::clearShown();
        for (int i = 0; i < 3; ++i) // every alert is answered; none may block
            Alerts::setNextAnswer(Alerts::DefaultReturn);
        while (Panels::takeNextFileName()) {
        }
        m_prefs = std::make_unique<QuireonPrefs>();
        m_prefs->awakeFromNib();
        m_dir = std::make_unique<QTemporaryDir>();
        m_app = std::make_unique<AppController>();
    }

    void cleanup()
    {
        m_app.reset();
        m_prefs.reset();
    }

    void choiceTwoReopensTheLastFile()
    {
        const QString path = makeFile("paper.tex");
        launch(2, path);
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 1);
        QCOMPARE(m_app->documents()->orderedDocuments().first()->rootFilePath(), path);
        QVERIFY(Panels::hasPendingFileName()); // the Open panel was not shown
        QVERIFY(Alerts::shown().isEmpty());
        QVERIFY(!m_app->startWindow());
    }

    void choiceTwoWithMissingFileAlertsThenOffersThePanel()
    {
        const QString gone = m_dir->filePath("gone.tex");
        launch(2, gone);
        QCOMPARE(shownHeaders(), QStringList{Text::localized("OpenLastErrorHeader")});
        QVERIFY(Alerts::shown().first().message.contains(gone));
        QVERIFY(!Panels::hasPendingFileName()); // the Open panel took its answer
        QVERIFY(!m_prefs->hasValue(Key::LastOpenedFile));
        QVERIFY(m_app->startWindow()); // the panel was cancelled
        QuireonPrefs reread;
        reread.awakeFromNib();
        QVERIFY(!reread.hasValue(Key::LastOpenedFile));
    }

    void choiceTwoWithoutLastFileShowsThePanelWithoutAlert()
    {
        launch(2);
        QVERIFY(Alerts::shown().isEmpty());
        QVERIFY(!Panels::hasPendingFileName());
    }

    void choiceTwoWithWrongTypeNamesFileAndType()
    {
        const QString path = makeFile("notes.txt");
        launch(2, path);
        QCOMPARE(shownHeaders(), QStringList{Text::localized("OpenErrorHeader")});
        QCOMPARE(Alerts::shown().first().message,
                 Text::format("OpenErrorMessage", {"notes.txt", "tex"}));
        QVERIFY(!Panels::hasPendingFileName());
    }

    void choiceOneShowsThePanelAndOpensTheChoice()
    {
        const QString path = makeFile("chosen.tex");
        m_prefs->setStartupChoice(1);
        Panels::setNextFileName(path);
        m_app->applicationDidFinishLaunching();
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 1);
        QCOMPARE(m_prefs->lastOpenedDocument(), path);
    }

    void otherChoicesOpenNothingButTheStartWindow()
    {
        launch(0, makeFile("paper.tex"));
        QVERIFY(m_app->documents()->isEmpty());
        QVERIFY(Panels::hasPendingFileName());
        QVERIFY(m_app->startWindow());
        QVERIFY(m_app->startWindow()->findChild<QPushButton *>("buttonOpen"));
    }

    void launchFilesWinOverTheChoice()
    {
        const QString a = makeFile("a.tex");
        const QString last = makeFile("last.tex");
        m_prefs->setLastOpenedDocument(last);
        m_app->applicationDidFinishLaunching({a});
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 1);
        QVERIFY(m_app->documents()->documentForPath(a));
    }

    // Every spelling of a path names one document, stored and shown in its clean form.
    void openingAnOpenPathBringsItForward()
    {
        const QString a = makeFile("a.tex");
        const QString b = makeFile("b.tex");
        QVERIFY(QDir(m_dir->path()).mkdir("sub"));
        RecentDocuments::noteNewRecentDocument(m_dir->path() + "/./a.tex"); // an older entry
        QVERIFY(m_app->openFile(m_dir->path() + "/sub/../a.tex"));
        QVERIFY(m_app->openFile(b));
        m_prefs->setLastOpenedDocument(QString());
        QVERIFY(m_app->openFile(m_dir->path() + "/./a.tex"));
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 2);
        QVERIFY(m_app->documents()->documentForPath(a));
        QCOMPARE(m_prefs->lastOpenedDocument(), a);
        QCOMPARE(RecentDocuments::list(), QStringList({b, a}));
    }

    // A second launch hands files over while panels are up on the start window: they open
    // beside the panels, which stay with what the user typed; the start window leaves once
    // its last panel has closed.
    void handedFilesLeaveTheStartWindowsPanelsAlone()
    {
        launch(0);
        Panels::takeNextFileName(); // the Open panel's answer, not asked for
        StartWindow *start = m_app->startWindow();
        PrefsController prefs;
        prefs.openPreferences(start);
        const QPointer<QDialog> sheet = prefs.sheet();
        auto *typed = sheet->findChild<QLineEdit *>("cmdName1");
        typed->setText(QStringLiteral("typed by the user"));
        const auto handOver = [this](const QString &name) {
            m_app->openFiles({makeFile(name)});
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        };
        handOver("a.tex");
        QVERIFY(sheet && sheet->isVisible());
        QCOMPARE(typed->text(), QStringLiteral("typed by the user"));
        bool panelStayed = false;
        Panels::setNextPanelHandler([&](QFileDialog *panel) {
            panel->show();
            handOver("b.tex");
            panelStayed = panel->isVisible();
            panel->reject();
            return QString();
        });
        m_app->newFromTemplate(start);
        QVERIFY(panelStayed);
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 2);
        QCOMPARE(m_app->startWindow(), start);
        prefs.prefsCanceled();
        QVERIFY(!m_app->startWindow());
    }

    void typeCheckIsCaseSensitiveAndReadabilityChecked()
    {
        QVERIFY(!m_app->openFile(makeFile("SHOUT.TEX")));
        QCOMPARE(shownHeaders(), QStringList{Text::localized("OpenErrorHeader")});
        Alerts::clearShown();
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        const QString locked = makeFile("locked.tex");
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        if (QFileInfo(locked).isReadable())
            QSKIP("running with privileges that read any file");
        QVERIFY(!m_app->openFile(locked));
        QCOMPARE(shownHeaders(), QStringList{Text::localized("OpenLastErrorHeader")});
        QVERIFY(m_app->documents()->isEmpty());
    }

    void folderWithRootExtensionIsRefused()
    {
        const QString folder = m_dir->filePath("folder.tex");
        QDir().mkpath(folder);
        QVERIFY(!m_app->openFile(folder));
        QCOMPARE(shownHeaders(), QStringList{Text::localized("OpenLastErrorHeader")});
    }

    // The settings file cannot be written (a folder stands where it goes; permissions
    // would not stop a test running as root). Every open saves "Last Opened File": the
    // user hears about it once, and documents keep opening.
    void settingsThatCannotBeSavedAreReportedOnce()
    {
        launch(0);
        const QString store = SettingsStore().fileName();
        QFile::remove(store);
        QVERIFY(QDir().mkpath(store));
        Alerts::clearShown();
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        QVERIFY(m_app->openFile(makeFile("one.tex")));
        QVERIFY(m_app->openFile(makeFile("two.tex")));
        m_prefs->setInterval(5); // any later change saved by any part of Quireon
        QVERIFY(!m_prefs->savePreferences());
        QCOMPARE(shownHeaders(), QStringList{Text::localized("SettingsSaveErrorHeader")});
        QVERIFY(Alerts::shown().at(0).message.contains(store));
        QCOMPARE(m_app->documents()->orderedDocuments().size(), 2);
        QCOMPARE(m_prefs->lastOpenedDocument(), m_dir->filePath("two.tex"));
        QVERIFY(QDir().rmdir(store)); // writable again: saves succeed, nothing more is shown
        m_prefs->setInterval(6);
        QVERIFY(m_prefs->savePreferences());
        QCOMPARE(Alerts::shown().size(), 1);
    }

    // A save that is already reported in the caller's own words is not reported twice.
    void quietSavesAreLeftToTheCaller()
    {
        const QString store = SettingsStore().fileName();
        QVERIFY(QDir().mkpath(store));
        {
            const SettingsFailure::Quiet quiet;
            m_prefs->setInterval(7);
            QVERIFY(!m_prefs->savePreferences());
        }
        QVERIFY(Alerts::shown().isEmpty());
        QVERIFY(!SettingsFailure::told());
        SettingsFailure::toldByCaller();
        m_prefs->setInterval(8);
        QVERIFY(!m_prefs->savePreferences());
        QVERIFY(Alerts::shown().isEmpty());
    }

    void processMenuFollowsTheSettings()
    {
        m_app->applicationDidFinishLaunching({makeFile("a.tex")});
        MyDocument *doc = m_app->documents()->orderedDocuments().first();
        QMenu *process = nullptr;
        for (QAction *top : doc->myWindow()->menuBar()->actions())
            if (top->text() == Text::localized("Menu Process"))
                process = top->menu();
        QVERIFY(process);
        QCOMPARE(process->actions().at(0)->text(), m_prefs->cmdNameAtIndex(0));
        QStringList names = m_prefs->cmdNameArray();
        names[1] = QStringLiteral("Biber");
        m_prefs->setCmdNameArray(names);
        QStringList opens = m_prefs->openNameArray();
        opens[4] = QStringLiteral("Viewer");
        m_prefs->setOpenNameArray(opens);
        QVERIFY(process->actions().at(1)->text() != QStringLiteral("Biber"));
        NotificationCenter::defaultCenter()->post(kPrefsChangedNotification);
        QCOMPARE(process->actions().at(1)->text(), QStringLiteral("Biber"));
        QVERIFY(process->actions().at(5)->isSeparator());
        QCOMPARE(process->actions().at(10)->text(), QStringLiteral("Viewer"));
    }
};

QTEST_MAIN(TestAppController)
#include "test_app_controller.moc"
