#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <memory>

class MyDocument;
class QuireonPrefs;
class QPlainTextEdit;

// Shared steps of the document tests.
namespace DocumentTest {
// Fresh settings folder and a new shared settings object holding the defaults.
std::unique_ptr<QuireonPrefs> freshPrefs();
// Writes a file (empty unless given contents) and returns its path.
QString writeFile(const QString &path, const QByteArray &contents = {});
// Sets command index's line and, when given, its page string in the shared settings.
void setCommand(int index, const QString &line, const QString &pageString = QString());
// Runs command index and waits until the document is idle again; false on a time-out.
bool runCommand(MyDocument &document, int index, int timeoutMs = 20000);

QPlainTextEdit *logView(MyDocument &document);
// The log's lines, without the empty line after the last newline.
QStringList logLines(MyDocument &document);
// The character format of the first character of line number.
QTextCharFormat lineFormat(MyDocument &document, int line);
// The text of a label-like field, found by its object name.
QString fieldText(MyDocument &document, const char *name);
} // namespace DocumentTest
