// New project from a template: the accessory view's choices, the incomplete-choice alert,
// the items created and their order, and what an existing item at each place gets.
#include "platform/alerts.h"
#include "platform/panels.h"
#include "project/newprojectcontroller.h"
#include "project/projectfiles.h"
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

class TestNewProject : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_tmp;
    std::unique_ptr<QuireonPrefs> m_prefs;
    QString m_template; // <tmp>/t/article.tex
    QString m_bib;      // <tmp>/x/refs.bib
    QStringList m_opened;

    QString tmp(const QString &rel) const { return m_tmp->filePath(rel); }

    static QStringList entries(const QString &dir)
    {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
    }
    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    template <typename T> static T *control(QFileDialog *panel, const char *name)
    {
        T *found = panel->findChild<T *>(name);
        Q_ASSERT(found);
        return found;
    }
    static QStringList items(QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    void run(Panels::PanelHandler handler)
    {
        Panels::setNextPanelHandler(std::move(handler));
        NewProjectController controller;
        controller.newFromTemplate(nullptr, [this](const QString &path) { m_opened << path; });
        QVERIFY(!controller.templateArray().has_value());
        QVERIFY(!controller.symLinkArray().has_value());
    }

    // Sets every extra on, with folder name fig and the first original, then picks path.
    static Panels::PanelHandler everyExtra(const QString &path)
    {
        return [path](QFileDialog *panel) {
            control<QCheckBox>(panel, "checkFolderAlias")->setChecked(true);
            control<QCheckBox>(panel, "checkCreateFolder")->setChecked(true);
            control<QComboBox>(panel, "comboFolderNames")->setEditText("fig");
            control<QCheckBox>(panel, "checkSymbolicLink")->setChecked(true);
            return path;
        };
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
        m_template = tmp("t/article.tex");
        m_bib = tmp("x/refs.bib");
        QVERIFY(TestSupport::writeFile(m_template, "\\documentclass{article}\n"));
        QVERIFY(TestSupport::writeFile(m_bib, "@book{a,title={A}}\n"));
        QVERIFY(QDir().mkpath(tmp("u/p")));
        m_opened.clear();
    }

    void cleanup()
    {
        QVERIFY(!Panels::hasPendingFileName());
        QVERIFY(!Alerts::hasPendingAnswer());
    }

    void everyExtraCreatedAndRemembered()
    {
        m_prefs->setTemplateArray(QStringList{m_template});
        m_prefs->setSymLinkArray(QStringList{m_bib});
        run(everyExtra(tmp("u/p/Paper")));
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(m_opened, QStringList{root});
        QCOMPARE(contents(root), contents(m_template));
        QCOMPARE(entries(tmp("u/p")), (QStringList{"Paper.bib", "Paper.folder", "Paper.tex", "fig"}));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.folder")), tmp("u/p"));
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
        QVERIFY(QFileInfo(tmp("u/p/fig")).isDir() && !QFileInfo(tmp("u/p/fig")).isSymLink());

        QuireonPrefs stored;
        stored.loadPreferences();
        QCOMPARE(stored.templateArray(), QStringList{m_template});
        QCOMPARE(stored.folderNameArray(), (QStringList{"fig", "figures"}));
        QCOMPARE(stored.symLinkArray(), QStringList{m_bib});
        QVERIFY(stored.checkCreateFolderAlias() && stored.checkCreateExtraFolder() && stored.checkCreateSymLink());
    }

    void pathsFollowTheChosenName()
    {
        const Options options{true, QString("fig"), m_bib};
        const Paths paths = projectPaths("/u/p/Paper.tex", options);
        QCOMPARE(paths.root, QString("/u/p/Paper.tex"));
        QCOMPARE(paths.alias, QString("/u/p/Paper.folder"));
        QCOMPARE(paths.link, QString("/u/p/Paper.bib"));
        QCOMPARE(paths.folder, QString("/u/p/fig"));
        // An original without extension, a folder included, leaves a bare dot.
        QCOMPARE(projectPaths("/u/p/Paper.tex", {false, {}, QString("/x/figures")}).link, QString("/u/p/Paper."));
        QCOMPARE(projectPaths("/u/p/Paper.tex", {}).alias, QString());
    }

    // Every extra fails, so the alerts show the order of creation: alias, link, folder.
    void failuresComeInCreationOrderAndKeepTheRootFile()
    {
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Paper.folder")));
        QVERIFY(QFile::link(tmp("nowhere"), tmp("u/p/Paper.bib")));
        const Outcome outcome = createProject(root, m_template, {true, QString("missing/fig"), m_bib});
        QVERIFY(outcome.rootCreated);
        const QList<Alert> expected = {
            {"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Paper.folder")},
            {"SymLinkErrorHeader", "SymLinkFileMessage", tmp("u/p/Paper.bib")},
            {"FolderErrorHeader", "FolderErrorMessage", tmp("u/p/missing/fig")}};
        QCOMPARE(outcome.alerts, expected);
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.folder")), tmp("nowhere"));
        QCOMPARE(contents(root), contents(m_template));
    }

    void existingItemsAtExtrasLeftAlone()
    {
        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.bib"), "mine\n"));
        QVERIFY(TestSupport::writeFile(tmp("u/p/fig/keep.png"), "png"));
        QVERIFY(TestSupport::writeFile(tmp("u/p/Paper.folder"), "a file\n"));
        const Outcome outcome = createProject(tmp("u/p/Paper.tex"), m_template, {true, QString("fig"), m_bib});
        QVERIFY(outcome.rootCreated);
        QVERIFY(outcome.alerts.isEmpty());
        QCOMPARE(contents(tmp("u/p/Paper.bib")), QByteArray("mine\n"));
        QCOMPARE(contents(tmp("u/p/Paper.folder")), QByteArray("a file\n"));
        QCOMPARE(entries(tmp("u/p/fig")), QStringList{"keep.png"});
        // A name that climbs out is used as typed; what exists there is not touched.
        QVERIFY(createProject(tmp("u/p/Other.tex"), m_template, {false, QString(".."), {}}).alerts.isEmpty());
        QCOMPARE(entries(tmp("u")), QStringList{"p"});
    }

    void rootPlaceReplacedOnlyWhenSafe()
    {
        const QString root = tmp("u/p/Paper.tex");
        QVERIFY(TestSupport::writeFile(root, "old text\n"));
        QVERIFY(createProject(root, m_template, {}).rootCreated);
        QCOMPARE(contents(root), contents(m_template));

        // A folder under the chosen name is refused, not emptied.
        const QString folder = tmp("u/p/Book.tex");
        QVERIFY(TestSupport::writeFile(folder + "/chapter.tex", "work\n"));
        Outcome outcome = createProject(folder, m_template, {});
        QVERIFY(!outcome.rootCreated);
        QCOMPARE(outcome.alerts, (QList<Alert>{{"OverwriteErrorHeader", "OverwriteErrorMessage", folder}}));
        QCOMPARE(contents(folder + "/chapter.tex"), QByteArray("work\n"));

        // Choosing the template itself as the new file keeps the template.
        outcome = createProject(m_template, m_template, {});
        QVERIFY(!outcome.rootCreated);
        QCOMPARE(outcome.alerts.size(), 1);
        QCOMPARE(contents(m_template), QByteArray("\\documentclass{article}\n"));

        outcome = createProject(tmp("u/p/New.tex"), tmp("t/gone.tex"), {});
        QCOMPARE(outcome.alerts, (QList<Alert>{{"CopyErrorHeader", "CopyErrorMessage", tmp("u/p/New.tex")}}));
    }

    void incompleteChoiceJoinsTextsAndCreatesNothing()
    {
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        m_prefs->setCheckCreateFolderAlias(false);
        run([this](QFileDialog *panel) {
            const Panels::PanelHandler extras = everyExtra(tmp("u/p/Paper.tex"));
            const QString path = extras(panel);
            control<QComboBox>(panel, "comboFolderNames")->setEditText("");
            return path;
        });
        const QString joined = Text::localized("BadTemplate_NoTemplate") + " ; "
                               + Text::localized("BadTemplate_NoFolderName") + " ; "
                               + Text::localized("BadTemplate_NoOriginal");
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown()[0].header, Text::localized("CreateNewErrorHeader"));
        QCOMPARE(Alerts::shown()[0].message, joined);
        QCOMPARE(incompleteChoiceText(NoTemplate | NoOriginal),
                 Text::localized("BadTemplate_NoTemplate") + " ; " + Text::localized("BadTemplate_NoOriginal"));
        QCOMPARE(incompleteChoiceText(NoFolderName), Text::localized("BadTemplate_NoFolderName"));
        QVERIFY(entries(tmp("u/p")).isEmpty());
        QVERIFY(m_opened.isEmpty());
        // Nothing of the refused choice is remembered.
        QuireonPrefs stored;
        stored.loadPreferences();
        QVERIFY(!stored.checkCreateSymLink());
        QCOMPARE(stored.folderNameArray(), QStringList{"figures"});
    }

    void accessoryViewReflectsChoices()
    {
        const QString other = tmp("t/notes.txt");
        const QString gone = tmp("t/gone.tex");
        QVERIFY(TestSupport::writeFile(other, "x"));
        QVERIFY(QDir().mkpath(tmp("t/dir.tex")));
        m_prefs->setTemplateArray(QStringList{gone, other, tmp("t/dir.tex"), m_template});
        m_prefs->setFolderNameArray(QStringList{"images", "data"});
        m_prefs->setCheckCreateExtraFolder(true);
        run([this](QFileDialog *panel) {
            auto *templates = control<QComboBox>(panel, "popupTemplateFiles");
            auto *combo = control<QComboBox>(panel, "comboFolderNames");
            auto *folderIcon = control<QLabel>(panel, "stopIconFolder");
            [&] {
                QCOMPARE(items(templates), QStringList{m_template});
                QVERIFY(templates->isEnabled());
                QVERIFY(control<QLabel>(panel, "stopIconTemplate")->isHidden());
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
                QVERIFY(!control<QLabel>(panel, "stopIconSymLink")->isHidden());
                QVERIFY(control<QPushButton>(panel, "chooseSymLinkButton")->isEnabled());
                QVERIFY(!control<QComboBox>(panel, "popupSymLinkFiles")->isEnabled());
            }();
            return QString();
        });
        // Other types stay remembered; vanished ones and folders are dropped.
        QCOMPARE(m_prefs->templateArray(), (QStringList{other, m_template}));
        QVERIFY(m_opened.isEmpty());
    }

    // Without a scripted answer the panel is a real application-modal dialog.
    void panelAnsweredInTheDialogItself()
    {
        m_prefs->setTemplateArray(QStringList{m_template});
        m_prefs->setCheckCreateFolderAlias(false);
        QTimer::singleShot(0, this, [this] {
            auto *panel = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(panel);
            panel->setDirectory(tmp("u/p"));
            panel->findChild<QLineEdit *>("fileNameEdit")->setText("Real");
            QMetaObject::invokeMethod(panel, "accept");
        });
        NewProjectController controller;
        controller.newFromTemplate(nullptr, [this](const QString &path) { m_opened << path; });
        QCOMPARE(m_opened, QStringList{tmp("u/p/Real.tex")});
        QCOMPARE(entries(tmp("u/p")), QStringList{"Real.tex"});
    }

    void choosersAddTemplateAndOriginal()
    {
        run([this](QFileDialog *panel) {
            [&] {
                QCOMPARE(items(control<QComboBox>(panel, "popupTemplateFiles")),
                         QStringList{Text::localized("ChooseTemplate")});
                QVERIFY(!control<QLabel>(panel, "stopIconTemplate")->isHidden());
            }();
            Panels::setNextFileName(m_template);
            control<QPushButton>(panel, "chooseTemplateButton")->click();
            control<QCheckBox>(panel, "checkSymbolicLink")->setChecked(true);
            Panels::setNextFileName(m_bib);
            control<QPushButton>(panel, "chooseSymLinkButton")->click();
            [&] {
                QCOMPARE(items(control<QComboBox>(panel, "popupTemplateFiles")), QStringList{m_template});
                QVERIFY(control<QLabel>(panel, "stopIconTemplate")->isHidden());
                QCOMPARE(items(control<QComboBox>(panel, "popupSymLinkFiles")), QStringList{m_bib});
                QVERIFY(control<QLabel>(panel, "stopIconSymLink")->isHidden());
            }();
            return tmp("u/p/Paper.tex");
        });
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(m_opened, QStringList{tmp("u/p/Paper.tex")});
        QCOMPARE(TestSupport::linkContent(tmp("u/p/Paper.bib")), m_bib);
    }
};

QTEST_MAIN(TestNewProject)
#include "test_new_project.moc"
