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
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ProjectFiles;

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
    struct Stored : QuireonPrefs { // what the store holds
        Stored() { loadPreferences(); }
    };
    static QByteArray contents(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T> static T *control(QFileDialog *panel, const char *name) {
        return panel->findChild<T *>(name);
    }
    static QStringList items(QComboBox *box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    void run(Panels::PanelHandler handler) {
        Panels::setNextPanelHandler(std::move(handler));
        NewProjectController controller;
        controller.newFromTemplate(nullptr, [this](const QString &path) { m_opened << path; });
        QVERIFY(!controller.templateArray() && !controller.symLinkArray());
    }

    // Runs the link sheet for the root file tmp("u/p/Paper.tex").
    void runSheet(Panels::PanelHandler handler) {
        Panels::setNextPanelHandler(std::move(handler));
        SymLinkController controller;
        QWidget window;
        controller.createSymLink(&window, tmp("u/p/Paper.tex"), [this] { ++m_created; });
        QVERIFY(!controller.symLinkArray() && !controller.isSheetUp());
    }
    static QComboBox *popup(QFileDialog *panel) {
        return panel->findChild<QComboBox *>("popupSymLinkFiles");
    }

    // A panel handler that takes steps (and checks) on the panel, then answers path.
    static Panels::PanelHandler answer(const QString &path, std::function<void(QFileDialog *)> steps) {
        return [=](QFileDialog *panel) { steps(panel); return path; };
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

    void everyExtraCreatedAndRemembered() {
        m_prefs->setTemplateArray(QStringList{m_template});
        m_prefs->setSymLinkArray(QStringList{m_bib});
        run(answer(tmp("u/p/Paper"), everyExtra));
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(m_opened, QStringList{root});
        QCOMPARE(contents(root), contents(m_template));
        QCOMPARE(entries(tmp("u/p")),
                 (QStringList{"Paper.bib", "Paper.folder", "Paper.tex", "fig"}));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.folder")), tmp("u/p"));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        QVERIFY(QFileInfo(tmp("u/p/fig")).isDir() && !QFileInfo(tmp("u/p/fig")).isSymLink());

        const Stored stored;
        QCOMPARE(stored.templateArray(), QStringList{m_template});
        QCOMPARE(stored.folderNameArray(), (QStringList{"fig", "figures"}));
        QCOMPARE(stored.symLinkArray(), QStringList{m_bib});
        QVERIFY(stored.checkCreateFolderAlias() && stored.checkCreateExtraFolder() &&
                stored.checkCreateSymLink());
    }

    // What stands at an extra's place is left alone. A dangling link there makes the extra
    // fail; the alerts come in the order of creation: alias, link, folder. The link to an
    // original without extension (a folder here) ends in a bare dot.
    void extrasLeaveWhatStandsAtTheirPlace() {
        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.bib"), "mine\n"));
        QVERIFY(TestSupport::writeFile(tmp("u/p/fig/keep.png"), "png"));
        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.folder"), "a file\n"));
        const Outcome outcome =
            createProject(tmp("u/p/Paper.tex"), m_template, {true, QString("fig"), m_bib});
        QVERIFY(outcome.rootCreated && outcome.alerts.isEmpty());
        QCOMPARE(contents(tmp("u/p/Paper.bib")), QByteArray("mine\n"));
        QCOMPARE(contents(tmp("u/p/Paper.folder")), QByteArray("a file\n"));
        QCOMPARE(entries(tmp("u/p/fig")), QStringList{"keep.png"});

        const QString root = tmp("u/p/Book.tex");
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Book.folder")));
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Book.")));
        const Outcome failed = createProject(root, m_template, {true, QString("missing/fig"), m_figures});
        QVERIFY(failed.rootCreated);
        QCOMPARE(failed.alerts,
                 (QList<Alert>{{"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Book.folder")},
                               {"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Book.")},
                               {"FolderErrorHeader", "FolderErrorMessage", tmp("u/p/missing/fig")}}));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Book.folder")), tmp("nowhere"));
        QCOMPARE(contents(root), contents(m_template));
    }

    void rootPlaceReplacedOnlyWhenSafe() {
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(TestSupport::writeFile(root, "old text\n"));
        QVERIFY(createProject(root, m_template, {}).rootCreated);
        QCOMPARE(contents(root), contents(m_template));
        QCOMPARE(entries(tmp("u/p")), QStringList{"Paper.tex"}); // no extras asked, none made

        // A folder under the chosen name is refused, not emptied.
        const QString folder = tmp("u/p/Book.tex");
        QVERIFY(TestSupport::writeFile(folder + "/chapter.tex", "work\n"));
        m_prefs->setTemplateArray(QStringList{m_template});
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        run([&](QFileDialog *) { return folder; });
        QVERIFY(m_opened.isEmpty() && Alerts::shown().value(0).message.contains(folder));
        QCOMPARE(contents(folder + "/chapter.tex"), QByteArray("work\n"));

        // Choosing the template itself as the new file keeps the template.
        QCOMPARE(createProject(m_template, m_template, {}).alerts.size(), 1);
        QCOMPARE(contents(m_template), QByteArray("\\documentclass{article}\n"));
        QCOMPARE(createProject(tmp("u/p/New.tex"), tmp("t/gone.tex"), {}).alerts,
                 (QList<Alert>{{"CopyErrorHeader", "CopyErrorMessage", tmp("u/p/New.tex")}}));
    }

    void incompleteChoiceJoinsTextsAndCreatesNothing() {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        run(answer(tmp("u/p/Paper.tex"), [](QFileDialog *panel) {
            everyExtra(panel);
            control<QComboBox>(panel, "comboFolderNames")->setEditText("");
        }));
        // One alert naming the three missing choices: template, folder name and original.
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].message.split(" ; ").size(), 3);
        QVERIFY(entries(tmp("u/p")).isEmpty() && m_opened.isEmpty());
        // Nothing of the refused choice is remembered.
        QVERIFY(!Stored().checkCreateSymLink());
        QCOMPARE(Stored().folderNameArray(), QStringList{"figures"});
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
        run(answer(tmp("u/p/Paper.tex"), [this](QFileDialog *panel) {
            auto *templates = control<QComboBox>(panel, "popupTemplateFiles");
            auto *templateIcon = control<QLabel>(panel, "stopIconTemplate");
            auto *combo = control<QComboBox>(panel, "comboFolderNames");
            auto *folderIcon = control<QLabel>(panel, "stopIconFolder");
            auto *linkIcon = control<QLabel>(panel, "stopIconSymLink");
            QVERIFY(templates->count() == 1 && !templates->isEnabled() && !templateIcon->isHidden());
            Panels::setNextFileName(m_template);
            control<QPushButton>(panel, "chooseTemplateButton")->click();
            QCOMPARE(items(templates), QStringList{m_template});
            QVERIFY(templates->isEnabled() && templateIcon->isHidden());
            QCOMPARE(combo->currentText(), QString("images"));
            QCOMPARE(items(combo), (QStringList{"images", "data"}));
            QVERIFY(folderIcon->isHidden());
            combo->setEditText("");
            QVERIFY(!folderIcon->isHidden());
            combo->setEditText("d");
            QVERIFY(folderIcon->isHidden());
            control<QCheckBox>(panel, "checkCreateFolder")->setChecked(false);
            QVERIFY(!combo->isEnabled());
            control<QCheckBox>(panel, "checkSymbolicLink")->setChecked(true);
            QVERIFY(!linkIcon->isHidden() && !popup(panel)->isEnabled());
            Panels::setNextFileName(m_bib);
            control<QPushButton>(panel, "chooseSymLinkButton")->click();
            QCOMPARE(items(popup(panel)), QStringList{m_bib});
            QVERIFY(popup(panel)->isEnabled() && linkIcon->isHidden());
        }));
        QCOMPARE(m_opened, QStringList{tmp("u/p/Paper.tex")});
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        // Other types stay remembered; vanished ones and folders are dropped.
        QCOMPARE(m_prefs->templateArray(), (QStringList{m_template, other}));
    }

    // In the real chooser a folder is taken as the original, not entered, and a typed name
    // that names nothing is refused.
    void originalChosenInTheDialogItself() {
        QTimer::singleShot(0, this, [this] {
            auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(panel);
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
    }

    // Without originals the sheet shows a placeholder and refuses; the chooser adds one
    // while the sheet is up, and that pick stays remembered though the sheet is cancelled.
    void sheetWithoutOriginalRefusesUntilOneIsChosen() {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        runSheet(answer(tmp("u/p/Paper"), [](QFileDialog *panel) {
            QVERIFY(popup(panel)->count() == 1 && !popup(panel)->isEnabled());
            QVERIFY(!control<QLabel>(panel, "stopIconSymLink")->isHidden());
            QCOMPARE(panel->defaultSuffix(), QString());
        }));
        QCOMPARE(Alerts::shown().size(), 1);
        QVERIFY(entries(tmp("u/p")).isEmpty());
        QVERIFY(!m_prefs->hasValue(Key::RecentSymbolicLinks) && m_created == 0);

        runSheet(answer({}, [this](QFileDialog *panel) {
            Panels::setNextFileName(m_figures);
            control<QPushButton>(panel, "chooseSymLinkButton")->click();
            QCOMPARE(items(popup(panel)), QStringList{m_figures});
            QVERIFY(popup(panel)->isEnabled() && control<QLabel>(panel, "stopIconSymLink")->isHidden());
            QCOMPARE(panel->defaultSuffix(), QString("folder"));
        }));
        QCOMPARE(Stored().symLinkArray(), QStringList{m_figures});
        QVERIFY(!QFileInfo::exists(tmp("u/p/Paper.folder")));
    }

    // The panel starts beside the root file under its name, with the type of the first
    // original; another original changes the type, and the one used moves first. A vanished
    // original is dropped, a folder kept.
    void linkTakesTheChosenOriginalsTypeAndMovesItFirst() {
        const QString plain = tmp("x/README");
        QVERIFY(TestSupport::writeFile(plain, "read me\n"));
        m_prefs->setSymLinkArray(QStringList{tmp("x/gone.bib"), m_bib, m_figures, plain});
        runSheet(answer(tmp("u/p/Figs"), [&](QFileDialog *panel) {
            QCOMPARE(QFileInfo(panel->directory().absolutePath()), QFileInfo(tmp("u/p")));
            QCOMPARE(control<QLineEdit>(panel, "fileNameEdit")->text(), QString("Paper"));
            QCOMPARE(items(popup(panel)), (QStringList{m_bib, m_figures, plain}));
            QVERIFY(control<QLabel>(panel, "stopIconSymLink")->isHidden());
            QCOMPARE(panel->defaultSuffix(), QString("bib"));
            popup(panel)->setCurrentIndex(2); // no extension: any name goes
            QCOMPARE(panel->defaultSuffix(), QString());
            popup(panel)->setCurrentIndex(1);
            QCOMPARE(panel->defaultSuffix(), QString("folder"));
        }));
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Figs.folder")), m_figures);
        QCOMPARE(m_created, 1);
        QCOMPARE(Stored().symLinkArray(), (QStringList{m_figures, m_bib, plain}));
    }

    // A folder (or a link to one) at the link's place and the original itself are refused
    // and left as they are; the attempt stays remembered. (A file there is replaced, as
    // sheetAnsweredInTheDialogItself shows.)
    void folderOrOriginalAtTheLinksPlaceRefused() {
        m_prefs->setSymLinkArray(QStringList{m_bib});
        QVERIFY(TestSupport::writeFile(tmp("u/p/Data.bib/keep.txt"), "keep\n"));
        QVERIFY(QFile::link(tmp("u/p/Data.bib"), tmp("u/p/Via.bib")));
        for (const QString &place : {tmp("u/p/Data.bib"), tmp("u/p/Via.bib"), tmp("x/refs")}) {
            Alerts::setNextAnswer(Alerts::DefaultReturn);
            runSheet([&](QFileDialog *) { return place; });
            QVERIFY(Alerts::shown().constLast().message.contains(place));
        }
        QCOMPARE(Alerts::shown().size(), 3);
        QVERIFY(QFileInfo(tmp("u/p/Data.bib/keep.txt")).isFile());
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Via.bib")), tmp("u/p/Data.bib"));
        QCOMPARE(contents(m_bib), QByteArray("@book{a,title={A}}\n"));
        QCOMPARE(m_created, 0);
        QCOMPARE(Stored().symLinkArray(), QStringList{m_bib});
    }

    // Without a scripted answer the sheet is a real window-modal dialog on the window. What
    // stands at the name written (the typed one and the extension) is replaced after a yes.
    void sheetAnsweredInTheDialogItself() {
        m_prefs->setSymLinkArray(QStringList{m_bib});
        const QString taken = tmp("u/p/c.v2.bib");
        QVERIFY(TestSupport::writeFile(taken, "kept\n"));
        QWidget window;
        window.show();
        SymLinkController controller;
        controller.createSymLink(&window, tmp("u/p/Paper.tex"), [this] { ++m_created; });
        QFileDialog *panel = window.findChild<QFileDialog *>();
        QVERIFY(panel && panel->isVisible() && controller.isSheetUp());
        QCOMPARE(panel->windowModality(), Qt::WindowModal);
        panel->findChild<QLineEdit *>("fileNameEdit")->setText("c.v2");
        Alerts::setNextAnswer(Alerts::AlternateReturn);
        QMetaObject::invokeMethod(panel, "accept");
        QVERIFY(Alerts::shown().value(0).header.contains("c.v2.bib"));
        QVERIFY(panel->isVisible());
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
