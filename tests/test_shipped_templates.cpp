// The starting templates that come with Quireon typeset with the real TeX tools, also
// after the new-project command has copied one and linked its bibliography.
#include "platform/alerts.h"
#include "platform/panels.h"
#include "project/newprojectcontroller.h"
#include "project/shippedtemplates.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "testsupport.h"

#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestShippedTemplates : public QObject {
    Q_OBJECT

    // Runs each tool in turn on base in folder (pdflatex in batch mode); a failing tool's
    // output ends up in the failure message.
    static void typeset(const QString &folder, const QString &base, const QStringList &tools) {
        for (const QString &tool : tools) {
            QProcess process;
            process.setWorkingDirectory(folder);
            process.setProcessChannelMode(QProcess::MergedChannels);
            process.setStandardInputFile(QProcess::nullDevice());
            process.start("/usr/bin/" + tool, tool == "pdflatex"
                                                  ? QStringList{"-interaction=nonstopmode", base}
                                                  : QStringList{base});
            const bool done = process.waitForFinished(60000);
            const QString output = QString::fromLocal8Bit(process.readAll()).right(2000);
            QVERIFY2(done && process.exitStatus() == QProcess::NormalExit &&
                         process.exitCode() == 0,
                     qPrintable(tool + ":\n" + output));
        }
    }

    static QByteArray contents(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase() {
        Text::installTable();
        for (const char *tool : {"/usr/bin/pdflatex", "/usr/bin/bibtex", "/usr/bin/makeindex"})
            if (!QFileInfo(tool).isExecutable())
                QSKIP("the TeX tools are not installed");
    }

    void init() {
        TestSupport::freshSettings();
        Alerts::clearShown();
    }

    void articleTypesets() {
        QTemporaryDir tmp;
        QVERIFY(QFile::copy(QDir(shippedTemplatesFolder()).filePath("article.tex"),
                            tmp.filePath("article.tex")));
        typeset(tmp.path(), "article", {"pdflatex"});
        QVERIFY(QFileInfo(tmp.filePath("article.pdf")).size() > 0);
    }

    // The report becomes Paper.tex with a link Paper.bib to the shipped bibliography,
    // which is how a new project picks up its references.
    void newProjectFromReportTypesetsWithBibliographyAndIndex() {
        QTemporaryDir tmp;
        QuireonPrefs prefs;
        prefs.awakeFromNib();
        const QString shipped = shippedTemplatesFolder();
        prefs.setTemplateArray(QStringList{QDir(shipped).filePath("report.tex")});
        prefs.setSymLinkArray(QStringList{QDir(shipped).filePath("report.bib")});
        prefs.setCheckCreateExtraFolder(false);
        prefs.setCheckCreateSymLink(true);
        Panels::setNextPanelHandler([&](QFileDialog *) { return tmp.filePath("Paper"); });
        QString opened;
        NewProjectController controller;
        controller.newFromTemplate(nullptr, [&](const QString &path) { opened = path; });
        QVERIFY(Alerts::shown().isEmpty());
        QCOMPARE(opened, tmp.filePath("Paper.tex"));
        QVERIFY(QFileInfo(tmp.filePath("Paper.bib")).isSymLink());

        typeset(tmp.path(), "Paper", {"pdflatex", "bibtex", "makeindex", "pdflatex", "pdflatex"});
        QVERIFY(QFileInfo(tmp.filePath("Paper.pdf")).size() > 0);
        QVERIFY(contents(tmp.filePath("Paper.bbl")).contains("\\bibitem{knuth1984}"));
        QVERIFY(contents(tmp.filePath("Paper.ind")).contains("typesetting"));
        QVERIFY(!contents(tmp.filePath("Paper.log")).contains("undefined"));
    }
};

QTEST_MAIN(TestShippedTemplates)
#include "test_shipped_templates.moc"
