// New project from a template and the symbolic-link sheet: the accessory view's choices,
// the incomplete-choice alert, the originals pop-up and the type a link must carry, the
// items created and their order, and what an existing item at each place gets.
#include "platform/alerts.h"
#include "platform/panels.h"
#include "project/newprojectcontroller.h"
#include "project/originals.h"
#include "project/projectfiles.h"
#include "project/symlinkcontroller.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ProjectFiles;
using PanelSteps = std::function<void(QFileDialog *)>;

class TestNewProject : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QuireonPrefs> m_prefs;
    // <tmp>/t/article.tex, <tmp>/x/refs.bib, folder <tmp>/x/figures
    QString m_template, m_bib, m_figures;
    QStringList m_opened;
    int m_created = 0; // calls of the link-created callback

    QString tmp(const QString &rel) const { return m_tmp->filePath(rel); }
    static QStringList entries(const QString &dir) {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System,
                                   QDir::Name);
    }
    struct Stored : QuireonPrefs { Stored() { loadPreferences(); } }; // what the store holds
    static QByteArray contents(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T> static T *control(QFileDialog *panel, const char *name) {
        return panel->findChild<T *>(name);
    }
    static QComboBox *popup(QFileDialog *panel) {
        return control<QComboBox>(panel, "popupSymLinkFiles");
    }
    static bool stopShown(QFileDialog *panel, const char *icon = "stopIconSymLink") {
        return !control<QLabel>(panel, icon)->isHidden();
    }
    static QStringList items(QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    // The next panel takes the steps (and checks) on its controls, then answers path; a
    // failed check cancels it, so that no alert waits for an answer.
    static void answer(const QString &path, const PanelSteps &steps) {
        Panels::setNextPanelHandler([=](QFileDialog *panel) {
            if (steps)
                steps(panel);
            return QTest::currentTestFailed() ? QString() : path;
        });
    }
    void run(const QString &path, const PanelSteps &steps = {}) {
        answer(path, steps);
        NewProjectController controller;
        controller.newFromTemplate(nullptr, [this](const QString &path) { m_opened << path; });
    }
    // Runs the link sheet for the root file tmp("u/p/Paper.tex").
    void runSheet(const QString &path, const PanelSteps &steps = {}) {
        answer(path, steps);
        SymLinkController controller;
        QWidget window;
        controller.createSymLink(&window, tmp("u/p/Paper.tex"), [this] { ++m_created; });
        QVERIFY(!controller.isSheetUp());
    }
    // Sets every extra on, with folder name fig and the first original.
    static void everyExtra(QFileDialog *panel) {
        control<QCheckBox>(panel, "checkFolderAlias")->setChecked(true);
        control<QCheckBox>(panel, "checkCreateFolder")->setChecked(true);
        control<QComboBox>(panel, "comboFolderNames")->setEditText("fig");
        control<QCheckBox>(panel, "checkSymbolicLink")->setChecked(true);
    }

private slots:
    void initTestCase() { Text::installTable(); }

    void init() {
        TestSupport::freshSettings();
        m_prefs = std::make_unique<QuireonPrefs>();
        m_prefs->awakeFromNib();
        Alerts::clearShown();
        m_tmp = std::make_unique<QTemporaryDir>();
        m_template = tmp("t/article.tex");
        m_bib = tmp("x/refs.bib");
        QVERIFY(TestSupport::writeFile(m_template, "\\documentclass{article}\n") &&
                TestSupport::writeFile(m_bib, "@book{a,title={A}}\n"));
        m_figures = tmp("x/figures");
        QVERIFY(QDir().mkpath(tmp("u/p")) && QDir().mkpath(m_figures));
        m_opened.clear();
        m_created = 0;
    }

    void cleanup() {
        QVERIFY(!Panels::hasPendingFileName());
        QVERIFY(!Alerts::hasPendingAnswer());
    }

    // An incomplete choice gets one alert naming what is missing (template, folder name
    // and original) and creates and remembers nothing. With every extra chosen, each is
    // created and the choices are remembered.
    void everyExtraCreatedAndRemembered() {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        run(tmp("u/p/Paper.tex"), [](QFileDialog *panel) {
            everyExtra(panel);
            control<QComboBox>(panel, "comboFolderNames")->setEditText("");
        });
        QVERIFY(Alerts::shown().size() == 1 && Alerts::shown()[0].message.split(" ; ").size() == 3);
        QVERIFY(entries(tmp("u/p")).isEmpty() && m_opened.isEmpty());
        QVERIFY(!Stored().checkCreateSymLink() && Stored().folderNameArray() == QStringList{"figures"});

        m_prefs->setTemplateArray(QStringList{m_template});
        m_prefs->setSymLinkArray(QStringList{m_bib});
        run(tmp("u/p/Paper"), everyExtra);
        const QString root = tmp("u/p/Paper.tex");
        QCOMPARE(m_opened, QStringList{root});
        QCOMPARE(contents(root), contents(m_template));
        QCOMPARE(entries(tmp("u/p")),
                 (QStringList{"Paper.bib", "Paper.folder", "Paper.tex", "fig"}));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.folder")), tmp("u/p"));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        QVERIFY(QFileInfo(tmp("u/p/fig")).isDir() && !QFileInfo(tmp("u/p/fig")).isSymLink());
        const Stored stored;
        QCOMPARE(stored.folderNameArray(), (QStringList{"fig", "figures"}));
        QVERIFY(stored.checkCreateFolderAlias() && stored.checkCreateExtraFolder() &&
                stored.checkCreateSymLink());
    }

    // A file at the new root's place is replaced; a folder there is refused, not emptied,
    // and so is the template itself; a template that is gone makes nothing. What stands at
    // an extra's place is left alone. A dangling link there makes the extra fail; the
    // alerts come in the order of creation: alias, link, folder. The link to an original
    // without extension (a folder here) ends in a bare dot.
    void whatStandsAtEachPlaceOfTheProject() {
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(TestSupport::writeFile(root, "old text\n"));
        QVERIFY(createProject(root, m_template, {}).rootCreated);
        QCOMPARE(contents(root), contents(m_template));
        QCOMPARE(entries(tmp("u/p")), QStringList{"Paper.tex"}); // no extras asked, none made
        const QString folder = tmp("u/p/Book.tex");
        QVERIFY(TestSupport::writeFile(folder + "/chapter.tex", "work\n"));
        m_prefs->setTemplateArray(QStringList{m_template});
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        run(folder);
        QVERIFY(m_opened.isEmpty() && Alerts::shown().value(0).message.contains(folder));
        QCOMPARE(contents(folder + "/chapter.tex"), QByteArray("work\n"));
        QCOMPARE(createProject(m_template, m_template, {}).alerts.size(), 1);
        QCOMPARE(contents(m_template), QByteArray("\\documentclass{article}\n"));
        QCOMPARE(createProject(tmp("u/p/New.tex"), tmp("t/gone.tex"), {}).alerts,
                 (QList<Alert>{{"CopyErrorHeader", "CopyErrorMessage", tmp("u/p/New.tex")}}));

        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.bib"), "mine\n"));
        QVERIFY(TestSupport::writeFile(tmp("u/p/fig/keep.png"), "png"));
        const Outcome outcome = createProject(root, m_template, {true, QString("fig"), m_bib});
        QVERIFY(outcome.rootCreated && outcome.alerts.isEmpty());
        QCOMPARE(contents(tmp("u/p/Paper.bib")), QByteArray("mine\n"));
        QCOMPARE(entries(tmp("u/p/fig")), QStringList{"keep.png"});
        const QString other = tmp("u/p/Other.tex");
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Other.folder")));
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Other.")));
        const Outcome failed = createProject(other, m_template, {true, QString("missing/fig"), m_figures});
        QVERIFY(failed.rootCreated);
        QCOMPARE(failed.alerts,
                 (QList<Alert>{{"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Other.folder")},
                               {"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Other.")},
                               {"FolderErrorHeader", "FolderErrorMessage", tmp("u/p/missing/fig")}}));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Other.folder")), tmp("nowhere"));
    }

    // The accessory view offers only existing templates of the root type and the folder
    // names, shows a stop icon for each missing choice, and the choosers fill them in.
    void accessoryViewFollowsChoicesAndChoosers() {
        const QString other = tmp("t/notes.txt");
        QVERIFY(TestSupport::writeFile(other, "x"));
        QVERIFY(QDir().mkpath(tmp("t/d.tex")));
        m_prefs->setTemplateArray(QStringList{tmp("t/no.tex"), other, tmp("t/d.tex")});
        m_prefs->setFolderNameArray(QStringList{"images", "data"});
        m_prefs->setCheckCreateExtraFolder(true);
        run(tmp("u/p/Paper.tex"), [this](QFileDialog *panel) {
            auto *templates = control<QComboBox>(panel, "popupTemplateFiles");
            auto *combo = control<QComboBox>(panel, "comboFolderNames");
            QVERIFY(templates->count() == 1 && !templates->isEnabled() && stopShown(panel, "stopIconTemplate"));
            Panels::setNextFileName(m_template);
            control<QPushButton>(panel, "chooseTemplateButton")->click();
            QCOMPARE(items(templates), QStringList{m_template});
            QVERIFY(templates->isEnabled() && !stopShown(panel, "stopIconTemplate"));
            QCOMPARE(items(combo), (QStringList{"images", "data"}));
            QVERIFY(combo->currentText() == "images" && !stopShown(panel, "stopIconFolder"));
            combo->setEditText("");
            QVERIFY(stopShown(panel, "stopIconFolder"));
            control<QCheckBox>(panel, "checkCreateFolder")->setChecked(false);
            QVERIFY(!combo->isEnabled() && !stopShown(panel, "stopIconFolder"));
            control<QCheckBox>(panel, "checkSymbolicLink")->setChecked(true);
            QVERIFY(stopShown(panel) && !popup(panel)->isEnabled());
            Panels::setNextFileName(m_bib);
            control<QPushButton>(panel, "chooseSymLinkButton")->click();
            QCOMPARE(items(popup(panel)), QStringList{m_bib});
            QVERIFY(popup(panel)->isEnabled() && !stopShown(panel));
        });
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        // Other types stay remembered; vanished ones and folders are dropped.
        QCOMPARE(m_prefs->templateArray(), (QStringList{m_template, other}));
    }

    // In the real chooser a folder is taken as the original, not entered, and a typed name
    // that names nothing is refused. Asked without a title, the panel keeps its own.
    void originalChosenInTheDialogItself() {
        QString title;
        QTimer::singleShot(0, this, [this, &title] {
            auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(panel);
            title = panel->windowTitle();
            panel->setDirectory(tmp("x"));
            auto *name = panel->findChild<QLineEdit *>("fileNameEdit");
            name->setText("nothing.bib");
            QTimer::singleShot(0, [] { // Qt's "File not found" warning
                if (QWidget *warning = QApplication::activeModalWidget())
                    warning->close();
            });
            QMetaObject::invokeMethod(panel, "accept");
            QVERIFY(panel->isVisible());
            name->setText("figures");
            QMetaObject::invokeMethod(panel, "accept");
        });
        QCOMPARE(Originals::choose(nullptr, {}, {}), m_figures);
        QVERIFY(!title.isEmpty());
    }

    // Without originals the sheet shows a placeholder and refuses; the chooser adds one
    // while the sheet is up, and that pick stays remembered though the sheet is cancelled.
    // The panel starts beside the root file under its name, with the type of the chosen
    // original (none without an extension); the one used moves first, a vanished one is
    // dropped, a folder kept.
    void linkSheetTakesTheChosenOriginalsTypeAndMovesItFirst() {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSheet(tmp("u/p/Paper"), [](QFileDialog *panel) {
            QVERIFY(popup(panel)->count() == 1 && !popup(panel)->isEnabled());
            QVERIFY(stopShown(panel) && panel->defaultSuffix().isEmpty());
        });
        QCOMPARE(Alerts::shown().size(), 1);
        QVERIFY(!m_prefs->hasValue(Key::RecentSymbolicLinks));
        runSheet({}, [this](QFileDialog *panel) {
            Panels::setNextFileName(m_figures);
            control<QPushButton>(panel, "chooseSymLinkButton")->click();
            QCOMPARE(items(popup(panel)), QStringList{m_figures});
            QVERIFY(popup(panel)->isEnabled() && !stopShown(panel));
            QCOMPARE(panel->defaultSuffix(), QString("folder"));
        });
        QCOMPARE(Stored().symLinkArray(), QStringList{m_figures});
        QVERIFY(entries(tmp("u/p")).isEmpty() && m_created == 0);

        const QString plain = tmp("x/README");
        QVERIFY(TestSupport::writeFile(plain, "read me\n"));
        m_prefs->setSymLinkArray(QStringList{tmp("x/gone.bib"), m_bib, m_figures, plain});
        runSheet(tmp("u/p/Figs"), [&](QFileDialog *panel) {
            QCOMPARE(QFileInfo(panel->directory().absolutePath()), QFileInfo(tmp("u/p")));
            QCOMPARE(control<QLineEdit>(panel, "fileNameEdit")->text(), QString("Paper"));
            QCOMPARE(items(popup(panel)), (QStringList{m_bib, m_figures, plain}));
            QCOMPARE(panel->defaultSuffix(), QString("bib"));
            popup(panel)->setCurrentIndex(2); // no extension: any name goes
            QCOMPARE(panel->defaultSuffix(), QString());
            popup(panel)->setCurrentIndex(1);
        });
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Figs.folder")), m_figures);
        QCOMPARE(m_created, 1);
        QCOMPARE(Stored().symLinkArray(), (QStringList{m_figures, m_bib, plain}));
    }

    // A folder (or a link to one) at the link's place and the original itself are refused
    // and left as they are; the attempt stays remembered. Without a scripted answer the
    // sheet is a real window-modal dialog on the window; what stands at the name written
    // (the typed one and the extension) is replaced after a yes.
    void linkPlaceRefusedOrReplacedAfterAYes() {
        m_prefs->setSymLinkArray(QStringList{m_bib});
        QVERIFY(TestSupport::writeFile(tmp("u/p/Data.bib/keep.txt"), "keep\n"));
        QVERIFY(QFile::link(tmp("u/p/Data.bib"), tmp("u/p/Via.bib")));
        for (const QString &place : {tmp("u/p/Data.bib"), tmp("u/p/Via.bib"), tmp("x/refs")}) {
            Alerts::setNextAnswer(Alerts::DefaultReturn);
            runSheet(place);
            QVERIFY(Alerts::shown().constLast().message.contains(place));
        }
        QVERIFY(QFileInfo(tmp("u/p/Data.bib/keep.txt")).isFile());
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Via.bib")), tmp("u/p/Data.bib"));
        QCOMPARE(contents(m_bib), QByteArray("@book{a,title={A}}\n"));
        QCOMPARE(Stored().symLinkArray(), QStringList{m_bib});

        const QString taken = tmp("u/p/c.v2.bib");
        QVERIFY(TestSupport::writeFile(taken, "kept\n"));
        QWidget window;
        window.show();
        SymLinkController controller;
        controller.createSymLink(&window, tmp("u/p/Paper.tex"), [this] { ++m_created; });
        QFileDialog *panel = window.findChild<QFileDialog *>();
        QVERIFY(panel && panel->isVisible() && controller.isSheetUp());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        QLineEdit *name = panel->findChild<QLineEdit *>("fileNameEdit");
        // The sheet's message stands in the panel's layout, below the name field. A desktop's
        // own panel has no place for it, so the panel is Qt's on every desktop.
        QVERIFY(panel->testOption(QFileDialog::DontUseNativeDialog));
        const QLabel *message = panel->findChild<QLabel *>("panelMessage");
        QVERIFY(message && message->isVisible());
        QVERIFY(message->mapTo(panel, QPoint(0, 0)).y() >= name->mapTo(panel, QPoint(0, name->height())).y());
        name->setText("c.v2");
        // Enter and Escape on the real question both keep the file: Cancel is its default.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QMetaObject::invokeMethod(panel, "accept");
            QMessageBox *question = nullptr;
            QTRY_VERIFY((question = panel->findChild<QMessageBox *>()) && question->isVisible());
            QVERIFY(Alerts::shown().constLast().header.contains("c.v2.bib"));
            QTest::keyClick(question, key);
            QTRY_VERIFY(!panel->findChild<QMessageBox *>());
            QVERIFY(panel->isVisible());
            QCOMPARE(contents(taken), QByteArray("kept\n"));
        }
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        QMetaObject::invokeMethod(panel, "accept");
        QTRY_COMPARE(m_created, 1);
        QCOMPARE(TestSupport::linkContent(taken), m_bib);
        QVERIFY(!controller.isSheetUp());
        QTRY_VERIFY(!window.findChild<QFileDialog *>());
    }
};

QTEST_MAIN(TestNewProject)
#include "test_new_project.moc"
