// The symbolic-link sheet: the originals pop-up, the type the link must carry, and how an
// existing item at the link's place is treated.
#include "platform/alerts.h"
#include "platform/panels.h"
#include "project/projectfiles.h"
#include "project/symlinkcontroller.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "testsupport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestSymLinks : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QuireonPrefs> m_prefs;
    QString m_root;     // <tmp>/u/p/Paper.tex
    QString m_bib;      // <tmp>/x/refs.bib
    QString m_figures;  // <tmp>/x/figures, a folder
    int m_created = 0;  // calls of the link-created callback

    QString tmp(const QString &rel) const { return m_tmp->filePath(rel); }

    // Runs the sheet for m_root; the handler answers the panel.
    void runSheet(Panels::PanelHandler handler)
    {
        Panels::setNextPanelHandler(std::move(handler));
        SymLinkController controller;
        QWidget window;
        controller.createSymLink(&window, m_root, [this] { ++m_created; });
        QVERIFY(!controller.symLinkArray().has_value());
        QVERIFY(!controller.isSheetUp());
    }

    static QComboBox *popup(QFileDialog *panel) { return panel->findChild<QComboBox *>("popupSymLinkFiles"); }
    static QStringList items(QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

private slots:
    void initTestCase() { Text::installTable(); }

    void init()
    {
        TestSupport::freshSettings();
        m_prefs = std::make_unique<QuireonPrefs>();
        m_prefs->awakeFromNib();
        Alerts::clearShown();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_root = tmp("u/p/Paper.tex");
        m_bib = tmp("x/refs.bib");
        m_figures = tmp("x/figures");
        QVERIFY(TestSupport::writeFile(m_root, "\\documentclass{article}\n"));
        QVERIFY(TestSupport::writeFile(m_bib, "@book{a,title={A}}\n"));
        QVERIFY(QDir().mkpath(m_figures));
        m_created = 0;
    }

    void cleanup()
    {
        QVERIFY(!Panels::hasPendingFileName());
        QVERIFY(!Alerts::hasPendingAnswer());
    }

    void noOriginalShowsPlaceholderAndRefuses()
    {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSheet([](QFileDialog *panel) {
            QComboBox *box = popup(panel);
            [&] {
                QCOMPARE(items(box), QStringList{Text::localized("ChooseOriginal")});
                QVERIFY(!box->isEnabled());
                QVERIFY(!panel->findChild<QLabel *>("stopIconSymLink")->isHidden());
                QCOMPARE(panel->defaultSuffix(), QString());
            }();
            return panel->directory().filePath("Paper");
        });
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].header, Text::localized("SymLinkErrorHeader"));
        QCOMPARE(Alerts::shown()[0].message, Text::localized("BadTemplate_NoOriginal"));
        QCOMPARE(QDir(tmp("u/p")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{"Paper.tex"});
        QVERIFY(!m_prefs->hasValue(Key::RecentSymbolicLinks));
        QCOMPARE(m_created, 0);
    }

    void linkBesideRootFileTakesOriginalsExtension()
    {
        m_prefs->setSymLinkArray(QStringList{m_bib, m_figures});
        runSheet([this](QFileDialog *panel) {
            [&] {
                QCOMPARE(QFileInfo(panel->directory().absolutePath()), QFileInfo(tmp("u/p")));
                QCOMPARE(panel->findChild<QLineEdit *>("fileNameEdit")->text(), QString("Paper"));
                QCOMPARE(items(popup(panel)), (QStringList{m_bib, m_figures}));
                QVERIFY(panel->findChild<QLabel *>("stopIconSymLink")->isHidden());
                QCOMPARE(panel->defaultSuffix(), QString("bib"));
                // Another original changes the type the panel enforces.
                popup(panel)->setCurrentIndex(1);
                QCOMPARE(panel->defaultSuffix(), QString("folder"));
                popup(panel)->setCurrentIndex(0);
            }();
            return tmp("u/p/Paper");
        });
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        QCOMPARE(m_created, 1);
    }

    void folderOriginalGivesFolderLinkAndMovesFirst()
    {
        m_prefs->setSymLinkArray(QStringList{m_bib, m_figures});
        runSheet([this](QFileDialog *panel) {
            popup(panel)->setCurrentIndex(1);
            return tmp("u/p/Figs");
        });
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Figs.folder")), m_figures);
        QuireonPrefs reread;
        reread.loadPreferences();
        QCOMPARE(reread.symLinkArray(), (QStringList{m_figures, m_bib}));
    }

    void originalWithoutExtensionAllowsAnyName()
    {
        const QString plain = tmp("x/README");
        QVERIFY(TestSupport::writeFile(plain, "read me\n"));
        m_prefs->setSymLinkArray(QStringList{plain});
        runSheet([this](QFileDialog *panel) {
            [&] { QCOMPARE(panel->defaultSuffix(), QString()); }();
            return tmp("u/p/notes.txt");
        });
        QCOMPARE(TestSupport::linkContent(tmp("u/p/notes.txt")), plain);
    }

    void existingFileReplacedFolderRefused()
    {
        m_prefs->setSymLinkArray(QStringList{m_bib});
        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.bib"), "old\n"));
        runSheet([this](QFileDialog *) { return tmp("u/p/Paper.bib"); });
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        QCOMPARE(m_created, 1);

        QVERIFY(QDir().mkpath(tmp("u/p/Data.bib")));
        QVERIFY(TestSupport::writeFile(tmp("u/p/Data.bib/keep.txt"), "keep\n"));
        QVERIFY(QFile::link(tmp("u/p/Data.bib"), tmp("u/p/Via.bib")));
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSheet([this](QFileDialog *) { return tmp("u/p/Data.bib"); });
        runSheet([this](QFileDialog *) { return tmp("u/p/Via.bib"); });
        QCOMPARE(Alerts::shown().size(), 2);
        QCOMPARE(Alerts::shown()[0].message, Text::format("SymLinkFolderMessage", {tmp("u/p/Data.bib")}));
        QCOMPARE(Alerts::shown()[1].message, Text::format("SymLinkFolderMessage", {tmp("u/p/Via.bib")}));
        QVERIFY(QFileInfo(tmp("u/p/Data.bib/keep.txt")).isFile());
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Via.bib")), tmp("u/p/Data.bib"));
        QCOMPARE(m_created, 1);
        // The attempt is remembered even though it failed.
        QCOMPARE(m_prefs->symLinkArray(), QStringList{m_bib});
    }

    void originalAtLinkPlaceIsNotDestroyed()
    {
        const QString local = tmp("u/p/Paper.bib");
        QVERIFY(TestSupport::writeFile(local, "my references\n"));
        m_prefs->setSymLinkArray(QStringList{local});
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSheet([this](QFileDialog *) { return tmp("u/p/Paper"); });
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].message, Text::format("SymLinkFileMessage", {local}));
        QVERIFY(!QFileInfo(local).isSymLink());
        QFile file(local);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("my references\n"));
    }

    void vanishedOriginalDroppedFolderKept()
    {
        const QString gone = tmp("x/gone.bib");
        m_prefs->setSymLinkArray(QStringList{gone, m_figures, m_bib});
        runSheet([this](QFileDialog *panel) {
            [&] { QCOMPARE(items(popup(panel)), (QStringList{m_figures, m_bib})); }();
            return QString();
        });
        QCOMPARE(m_prefs->symLinkArray(), (QStringList{m_figures, m_bib}));
        QCOMPARE(QDir(tmp("u/p")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList{"Paper.tex"});
        QCOMPARE(m_created, 0);
    }

    void chooserAddsOriginalWhileSheetIsUp()
    {
        runSheet([this](QFileDialog *panel) {
            Panels::setNextFileName(m_figures);
            panel->findChild<QPushButton *>("chooseSymLinkButton")->click();
            [&] {
                QCOMPARE(items(popup(panel)), QStringList{m_figures});
                QVERIFY(popup(panel)->isEnabled());
                QVERIFY(panel->findChild<QLabel *>("stopIconSymLink")->isHidden());
                QCOMPARE(panel->defaultSuffix(), QString("folder"));
            }();
            return QString(); // cancelled: the chooser's pick stays remembered
        });
        QuireonPrefs reread;
        reread.loadPreferences();
        QCOMPARE(reread.symLinkArray(), QStringList{m_figures});
        QVERIFY(!QFileInfo::exists(tmp("u/p/Paper.folder")));
    }

    // Without a scripted answer the sheet is a real window-modal dialog on the window. A
    // typed name holding a dot gets the extension after it; replacing what stands at that
    // name is asked about first, and only a yes replaces it.
    void sheetAnsweredInTheDialogItself()
    {
        m_prefs->setSymLinkArray(QStringList{m_bib});
        const QString taken = tmp("u/p/c.v2.bib");
        QVERIFY(TestSupport::writeFile(taken, "kept\n"));
        QWidget window;
        window.show();
        SymLinkController controller;
        controller.createSymLink(&window, m_root, [this] { ++m_created; });
        QFileDialog *panel = window.findChild<QFileDialog *>();
        QVERIFY(panel && panel->isVisible());
        QVERIFY(controller.isSheetUp());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        panel->findChild<QLineEdit *>("fileNameEdit")->setText("c.v2");
        Alerts::setNextAnswer(Alerts::AlternateReturn);
        QMetaObject::invokeMethod(panel, "accept");
        QVERIFY(Alerts::shown().value(0).header.contains("c.v2.bib"));
        QVERIFY(panel->isVisible());
        QVERIFY(QFileInfo(taken).isFile() && !QFileInfo(taken).isSymLink());
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        QMetaObject::invokeMethod(panel, "accept");
        QTRY_COMPARE(m_created, 1);
        QCOMPARE(TestSupport::linkContent(taken), m_bib);
        QVERIFY(!controller.isSheetUp());
        QTRY_VERIFY(!window.findChild<QFileDialog *>());
    }

    void danglingLinkAtLinkPlaceFails()
    {
        QVERIFY(QFile::link(tmp("x/nowhere"), tmp("u/p/Paper.bib")));
        const auto alert = ProjectFiles::createSymLinkReplacingFile(tmp("u/p/Paper.bib"), m_bib);
        QVERIFY(alert.has_value());
        QCOMPARE(alert->messageKey, QString("SymLinkFileMessage"));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), tmp("x/nowhere"));
    }
};

QTEST_MAIN(TestSymLinks)
#include "test_symlinks.moc"
