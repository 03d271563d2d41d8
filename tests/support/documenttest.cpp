#include "documenttest.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <fcntl.h>
#include <sys/stat.h>

namespace DocumentTest {

std::unique_ptr<QuireonPrefs> freshPrefs() {
    TestSupport::freshSettings();
    MyDocument::setBuildWhenOpened(false);
    auto prefs = std::make_unique<QuireonPrefs>();
    prefs->awakeFromNib();
    // Document tests drive the procedure of the command table, as a user who set one up;
    // the automatic steps have tests of their own.
    prefs->setAutomaticSteps(false);
    return prefs;
}

QString writeFile(const QString &path, const QByteArray &contents) {
    if (!TestSupport::writeFile(path, contents))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void setCommand(int index, const QString &line, const QString &pageString) {
    setEntry(&QuireonPrefs::cmdCmdArray, &QuireonPrefs::setCmdCmdArray, index, line);
    if (!pageString.isNull())
        setEntry(&QuireonPrefs::pageStrArray, &QuireonPrefs::setPageStrArray, index, pageString);
}

bool runCommand(MyDocument &document, int index, int timeoutMs) {
    document.execCommandOfIndex(index);
    return waitIdle(document, timeoutMs);
}

void setProcedure(const QList<int> &codes) {
    QList<int> stored(8, 0);
    for (int i = 0; i < codes.size() && i < 8; ++i)
        stored[i] = codes[i] > 0 ? codes[i] + 1 : codes[i] < 0 ? 7 - codes[i] : 0;
    gQuireonPrefs->setProcedureArray(stored);
}

void setEntry(QStringList (QuireonPrefs::*get)() const,
              void (QuireonPrefs::*set)(const QStringList &), int index, const QString &value) {
    QStringList list = (gQuireonPrefs->*get)();
    list[index] = value;
    (gQuireonPrefs->*set)(list);
}

QStringList *recordOpens() {
    static QStringList opened;
    opened.clear();
    DesktopOpener::setOpener([](const QString &path) {
        opened.append(path);
        return true;
    });
    return &opened;
}

bool setModified(const QString &path, qint64 seconds, long nanoseconds) {
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(seconds), nanoseconds}};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

bool waitIdle(MyDocument &document, int timeoutMs) {
    return QTest::qWaitFor([&] { return !document.isRunning(); }, timeoutMs);
}

QPlainTextEdit *logView(MyDocument &document) {
    return document.myWindow()->findChild<QPlainTextEdit *>(QStringLiteral("logView"));
}

QStringList logLines(MyDocument &document) {
    QStringList lines = logView(document)->toPlainText().split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QTextCharFormat lineFormat(MyDocument &document, int line) {
    return logView(document)->document()->findBlockByNumber(line).begin().fragment().charFormat();
}

QString fieldText(MyDocument &document, const char *name) {
    return document.myWindow()->findChild<QLabel *>(QString::fromLatin1(name))->text();
}
} // namespace DocumentTest

void DocumentTestCase::setUp() {
    Text::installTable();
    document.reset();
    Alerts::clearShown();
    DesktopOpener::setOpener({});
    prefs = DocumentTest::freshPrefs();
    dir = std::make_unique<QTemporaryDir>();
}

MyDocument &DocumentTestCase::openDocument(const QString &name, const QByteArray &contents) {
    document = std::make_unique<MyDocument>();
    document->setFileName(DocumentTest::writeFile(dir->filePath(name), contents));
    return *document;
}
