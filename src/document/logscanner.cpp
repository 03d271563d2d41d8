// The log scanner: completes lines across chunks, shows them, styles prompt lines,
// classifies the others by prefix lists, colours and counts them, reads page reports.
// A chunk's complete lines go into the log in one insertion and only classified lines
// are restyled: the text already shown is never touched again.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "document/helpers/linesplitter.h"
#include "document/helpers/prefixmatch.h"
#include "feedback/runfeedback.h"
#include "settings/localizedtext.h"

#include <QScrollBar>
#include <QTextCursor>
#include <utility>

namespace {
struct StyledRange {
    qsizetype start;
    qsizetype length;
    QTextCharFormat format;
};

// The line without its final newline; "\r\n" counts as one newline, because the log view
// turns that pair into a single line break.
qsizetype styleLength(QStringView line) {
    if (!line.endsWith(u'\n'))
        return line.size();
    return line.endsWith(u"\r\n") ? line.size() - 2 : line.size() - 1;
}
} // namespace

RunFeedback::LineKind MyDocument::feedbackKind(LineClass lineClass) {
    switch (lineClass) {
    case LineClass::Regular:
        return RunFeedback::LineKind::Regular;
    case LineClass::Prompt:
        return RunFeedback::LineKind::Prompt;
    default:
        return RunFeedback::LineKind::Problem;
    }
}

void MyDocument::appendLogLines() {
    const QString lines = LineSplitter::takeCompleteLines(logFraction);
    if (!lines.isEmpty())
        appendCompleteLines(lines);
    // Output that never ends its line must not grow without bound either.
    if (logFraction.size() > LogBound::kMaxLineLength)
        appendUnfinishedLine();
}

void MyDocument::appendALogLine(const QString &line) {
    appendCompleteLines(line);
}

void MyDocument::appendCompleteLines(const QString &lines) {
    QTextCursor cursor(ui->logView->document());
    cursor.movePosition(QTextCursor::End);
    const int base = cursor.position();
    QList<StyledRange> styled;
    int pages = -1;
    qsizetype shift = 0; // characters the log view drops ("\r" of "\r\n") before this line
    for (qsizetype from = 0; from < lines.size();) {
        const qsizetype newline = lines.indexOf(QLatin1Char('\n'), from);
        const qsizetype end = newline < 0 ? lines.size() : newline + 1;
        const QStringView line = QStringView(lines).mid(from, end - from);
        const LineClass lineClass = classifyLine(line);
        const qsizetype length = styleLength(line);
        if (lineClass != LineClass::Regular && length > 0)
            styled.append({from - shift, length, formatOf(lineClass)});
        feedback->lineScanned(line, base + from - shift, feedbackKind(lineClass));
        if (const int n = checkPage(line); n > 0)
            pages = n;
        shift += line.endsWith(u"\r\n") ? 1 : 0;
        from = end;
    }

    cursor.beginEditBlock();
    cursor.insertText(lines, formatOf(LineClass::Regular));
    for (const StyledRange &range : styled) {
        cursor.setPosition(int(base + range.start));
        cursor.setPosition(int(base + range.start + range.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(range.format);
    }
    cursor.endEditBlock();
    feedback->linesShown();
    boundLog();

    showCounters();
    if (pages > 0)
        ui->textNumPages->setText(QString::number(pages));
    QScrollBar *bar = ui->logView->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void MyDocument::boundLog() {
    QTextCharFormat noteFormat = formatOf(LineClass::Regular);
    noteFormat.merge(formatOf(LineClass::Prompt));
    const bool cut = logBound.enforce(
        *ui->logView->document(),
        [](qint64 leftOut) {
            return promptPrefix + Text::format("LogLeftOut", {QString::number(leftOut)}) +
                   QLatin1Char('\n');
        },
        noteFormat);
    if (cut)
        feedback->logCut();
}

// When a run ends, its unfinished last line is shown and counted like any other.
void MyDocument::appendUnfinishedLine() {
    if (!logFraction.isEmpty())
        appendCompleteLines(std::exchange(logFraction, QString()) + QLatin1Char('\n'));
}

MyDocument::LineClass MyDocument::classifyLine(QStringView line) {
    if (line.startsWith(promptPrefix))
        return LineClass::Prompt;
    line = withoutTexPrompt(line);
    if (checkErrors && checkError(line, errorStrings)) {
        ++numErrors;
        return LineClass::Error;
    }
    if (checkWarnings && checkError(line, warningStrings)) {
        ++numWarnings;
        return LineClass::Warning;
    }
    if (checkNotes && checkError(line, noteStrings)) {
        ++numNotes;
        return LineClass::Note;
    }
    return LineClass::Regular;
}

QTextCharFormat MyDocument::formatOf(LineClass lineClass) const {
    QTextCharFormat format;
    switch (lineClass) {
    case LineClass::Regular:
        format.setForeground(Qt::black);
        format.setFontWeight(QFont::Normal);
        break;
    case LineClass::Prompt:
        format.setFontWeight(QFont::Bold);
        break;
    case LineClass::Error:
        format.setForeground(errorColor);
        break;
    case LineClass::Warning:
        format.setForeground(warningColor);
        break;
    case LineClass::Note:
        format.setForeground(noteColor);
        break;
    }
    return format;
}

int MyDocument::checkPage(QStringView line) const {
    return pageCheck ? PageReport::checkPage(line, pageShape) : -1;
}

void MyDocument::showCounters() {
    ui->textNumErrors->setText(QString::number(numErrors));
    ui->textNumWarnings->setText(QString::number(numWarnings));
    ui->textNumNotes->setText(QString::number(numNotes));
}

void MyDocument::clearCounters() {
    ui->textNumErrors->setText(QStringLiteral("0"));
    ui->textNumWarnings->setText(QStringLiteral("0"));
    ui->textNumNotes->setText(QStringLiteral("0"));
    ui->textNumPages->setText(QStringLiteral("0"));
    numNotes = 0;
    numWarnings = 0;
    numErrors = 0;
}
