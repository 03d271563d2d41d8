#pragma once

// Also brings in what nearly every document test uses: alerts, notifications, the desktop,
// the text table, fixtures and the push buttons.
#include "document/mydocument.h"
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "platform/desktopopener.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "testsupport.h"
#include "window/mywindow.h"

#include <QColor>
#include <QPushButton>
#include <QtTest>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextCharFormat>
#include <memory>

class QPlainTextEdit;

// Shared steps of the document tests.
namespace DocumentTest {
// Fresh settings folder and a new shared settings object holding the defaults. Documents
// opened afterwards do not build by themselves on opening, whatever their PDF: the tests
// start, and count, every run they look at; the tests of the build on opening turn it on.
std::unique_ptr<QuireonPrefs> freshPrefs();
// Writes a file (empty unless given contents), making its folders, and returns its path.
QString writeFile(const QString &path, const QByteArray &contents = {});
// Sets the file's modification time (symbolic links followed); false on failure.
bool setModified(const QString &path, qint64 seconds, long nanoseconds = 0);
// Sets command index's line and, when given, its page string in the shared settings.
void setCommand(int index, const QString &line, const QString &pageString = QString());
// Runs command index and waits until the document is idle again; false on a time-out.
bool runCommand(MyDocument &document, int index, int timeoutMs = 20000);

// Stores the auto procedure from step codes (1..5 command n, -1..-5 open n, 0 empty) as
// the preferences sheet would: command n as n + 1, open n as n + 7; the rest empty.
void setProcedure(const QList<int> &codes);
// Sets entry index of a string list setting through its setter.
void setEntry(QStringList (QuireonPrefs::*get)() const,
              void (QuireonPrefs::*set)(const QStringList &), int index, const QString &value);
// Replaces the desktop with a recorder that accepts every file it is given.
QStringList *recordOpens();
// Waits until the document is idle; false on a time-out.
bool waitIdle(MyDocument &document, int timeoutMs = 20000);
// A control of the document window, found by its object name.
template <typename T> T *control(MyDocument &document, const char *name) {
    return document.myWindow()->findChild<T *>(QString::fromLatin1(name));
}

QPlainTextEdit *logView(MyDocument &document);
// The log's lines, without the empty line after the last newline.
QStringList logLines(MyDocument &document);
// The character format of the first character of line number.
QTextCharFormat lineFormat(MyDocument &document, int line);
// The text of a label-like field, found by its object name.
QString fieldText(MyDocument &document, const char *name);
} // namespace DocumentTest

// The state most document tests share: fresh settings, an empty folder and one document.
class DocumentTestCase : public QObject
{
protected:
    std::unique_ptr<QuireonPrefs> prefs;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<MyDocument> document;

    // Ends the last test's document, forgets shown alerts and recorded opens, then starts
    // from fresh settings and an empty folder.
    void setUp();
    // A new document on a root file of that name (a path inside the folder), empty unless
    // given its contents.
    MyDocument &openDocument(const QString &name = QStringLiteral("main.tex"),
                             const QByteArray &contents = {});
    QString status() { return DocumentTest::fieldText(*document, "statusField"); }
    // Runs auto mode's check at once, as a tick of its timer would.
    void checkNow() { QVERIFY(QMetaObject::invokeMethod(document.get(), "timerProc")); }
    // How many runs of count_run.sh on main.tex the folder has seen.
    int runs() { return int(TestSupport::readFile(dir->filePath("main.runs")).count('\n')); }
};
