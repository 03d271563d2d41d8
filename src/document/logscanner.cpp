// The log view: shows lines as a build read them, styles Quireon's own lines and colours
// the problem lines, shows the counts and the page count, and marks the lines that lead to
// the source. A chunk's lines go into the log in one insertion and only classified lines
// are restyled: the text already shown is never touched again.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "engine/buildrun.h"
#include "feedback/runfeedback.h"
#include "settings/buildsettingsread.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QScrollBar>
#include <QTextCursor>

namespace {
struct StyledRange {
    qsizetype start;
    qsizetype length;
    LineKind kind;
};

// The line without its final newline; "\r\n" counts as one newline, because the log view
// turns that pair into a single line break.
qsizetype styleLength(QStringView line) {
    if (!line.endsWith(u'\n'))
        return line.size();
    return line.endsWith(u"\r\n") ? line.size() - 2 : line.size() - 1;
}

RunFeedback::LineKind feedbackKind(LineKind kind) {
    switch (kind) {
    case LineKind::Regular:
        return RunFeedback::LineKind::Regular;
    case LineKind::Prompt:
        return RunFeedback::LineKind::Prompt;
    default:
        return RunFeedback::LineKind::Problem;
    }
}
} // namespace

void MyDocument::showLogLines(const LogChunk &chunk) {
    buildCounts = chunk.counts;
    showLines(chunk);
}

// A line of the window's own is counted by the same rules as the build's lines; during a
// build it is one of the build's, which judges it too.
void MyDocument::appendALogLine(const QString &line) {
    if (build) {
        build->addLines(line);
        return;
    }
    LogChunk chunk;
    chunk.text = line;
    chunk.lines.append({0, line.size(), ownLines->classify(line)});
    chunk.firstSerial = -1;
    showLines(chunk);
}

void MyDocument::showLines(const LogChunk &chunk) {
    QTextCursor cursor(ui->logView->document());
    cursor.movePosition(QTextCursor::End);
    const qsizetype base = cursor.position();
    const QString &text = chunk.text;
    QList<StyledRange> styled;
    QList<qsizetype> positions(chunk.lines.size());
    qsizetype shift = 0; // characters the log view drops ("\r" of "\r\n") before this line
    for (qsizetype i = 0; i < chunk.lines.size(); ++i) {
        const LogChunk::Line &entry = chunk.lines[i];
        const QStringView line = QStringView(text).mid(entry.start, entry.length);
        const qsizetype length = styleLength(line);
        positions[i] = base + entry.start - shift;
        if (entry.kind != LineKind::Regular && length > 0)
            styled.append({entry.start - shift, length, entry.kind});
        if (entry.kind == LineKind::Prompt)
            waitingLines.clear(); // nothing before it waits for a place any more
        else if (entry.kind != LineKind::Regular && chunk.firstSerial >= 0)
            waitingLines.insert(chunk.firstSerial + i, positions[i]);
        feedback->lineScanned(line, positions[i], feedbackKind(entry.kind));
        shift += line.endsWith(u"\r\n") ? 1 : 0;
    }
    for (const auto &[serial, location] : chunk.located) {
        const qsizetype index = serial - chunk.firstSerial;
        if (index >= 0)
            feedback->lineLocated(positions.value(index), location);
        else if (const auto waiting = waitingLines.constFind(serial); waiting != waitingLines.cend())
            feedback->lineLocated(*waiting, location);
        waitingLines.remove(serial);
    }

    cursor.beginEditBlock();
    cursor.insertText(text, formatOf(LineKind::Regular));
    for (const StyledRange &range : styled) {
        cursor.setPosition(int(base + range.start));
        cursor.setPosition(int(base + range.start + range.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(formatOf(range.kind));
    }
    cursor.endEditBlock();
    feedback->linesShown();
    boundLog();

    showCounters();
    if (chunk.pagesReported)
        ui->textNumPages->setText(QString::number(chunk.counts.pages));
    QScrollBar *bar = ui->logView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void MyDocument::boundLog() {
    QTextCharFormat noteFormat = formatOf(LineKind::Regular);
    noteFormat.merge(formatOf(LineKind::Prompt));
    const bool cut = logBound.enforce(
        *ui->logView->document(),
        [](qint64 leftOut) {
            return promptPrefix + Text::format("LogLeftOut", {QString::number(leftOut)}) +
                   QLatin1Char('\n');
        },
        noteFormat);
    if (cut) {
        feedback->logCut();
        waitingLines.clear();
    }
}

QTextCharFormat MyDocument::formatOf(LineKind kind) const {
    QTextCharFormat format;
    switch (kind) {
    case LineKind::Regular:
        format.setForeground(Qt::black);
        format.setFontWeight(QFont::Normal);
        break;
    case LineKind::Prompt:
        format.setFontWeight(QFont::Bold);
        break;
    case LineKind::Error:
        format.setForeground(errorColor);
        break;
    case LineKind::Warning:
        format.setForeground(warningColor);
        break;
    case LineKind::Note:
        format.setForeground(noteColor);
        break;
    }
    return format;
}

void MyDocument::showCounters() {
    const LogCounts &own = ownLines->counts();
    ui->textNumErrors->setText(QString::number(buildCounts.errors + own.errors));
    ui->textNumWarnings->setText(QString::number(buildCounts.warnings + own.warnings));
    ui->textNumNotes->setText(QString::number(buildCounts.notes + own.notes));
}

void MyDocument::clearCounters() {
    ui->textNumErrors->setText(QStringLiteral("0"));
    ui->textNumWarnings->setText(QStringLiteral("0"));
    ui->textNumNotes->setText(QStringLiteral("0"));
    ui->textNumPages->setText(QStringLiteral("0"));
    buildCounts = LogCounts();
    ownLines = std::make_unique<LineClassifier>(buildSettingsOf(*gQuireonPrefs).logRules);
}
