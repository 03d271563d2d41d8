#include "logreader.h"

#include "document/helpers/linesplitter.h"

#include <utility>

LogReader::LogReader(LogRules rules, const QString &workingDir)
    : m_classifier(std::move(rules)), m_locator(workingDir) {}

void LogReader::beginCommand(int commandIndex) {
    m_fraction.clear();
    m_classifier.beginCommand(commandIndex);
}

LogChunk LogReader::take(const QString &output) {
    m_fraction += output;
    LogChunk chunk = read(LineSplitter::takeCompleteLines(m_fraction));
    if (m_fraction.size() > kMaxLineLength) {
        LogChunk cut = finish();
        chunk.text += cut.text;
        for (LogChunk::Line &line : cut.lines)
            line.start += chunk.text.size() - cut.text.size();
        if (chunk.lines.isEmpty())
            chunk.firstSerial = cut.firstSerial;
        chunk.lines += cut.lines;
        chunk.located += cut.located;
        chunk.counts = cut.counts;
        chunk.pagesReported = chunk.pagesReported || cut.pagesReported;
    }
    return chunk;
}

LogChunk LogReader::finish() {
    if (m_fraction.isEmpty())
        return read(QString());
    return read(std::exchange(m_fraction, QString()) + QLatin1Char('\n'));
}

LogChunk LogReader::ownLines(const QString &lines) {
    return read(lines);
}

// Files may come and go while a tool runs: what the locator knows of folders is looked at
// again once per piece of output.
LogChunk LogReader::read(QString lines) {
    m_locator.lookAgain();
    LogChunk chunk;
    chunk.firstSerial = m_nextSerial;
    const int pagesBefore = m_classifier.counts().pages;
    for (qsizetype from = 0; from < lines.size();) {
        const qsizetype newline = lines.indexOf(QLatin1Char('\n'), from);
        const qsizetype end = newline < 0 ? lines.size() : newline + 1;
        const QStringView line = QStringView(lines).mid(from, end - from);
        const LineKind kind = m_classifier.classify(line);
        chunk.lines.append({from, end - from, kind});
        locate(chunk, line, kind, m_nextSerial++);
        from = end;
    }
    chunk.counts = m_classifier.counts();
    chunk.pagesReported = chunk.counts.pages != pagesBefore;
    chunk.text = std::move(lines);
    return chunk;
}

// A line of Quireon's own starts a new tool's output, or stands between two.
void LogReader::locate(LogChunk &chunk, QStringView line, LineKind kind, qint64 serial) {
    if (kind == LineKind::Prompt) {
        m_locator.reset();
        m_waiting.clear();
        return;
    }
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    const bool problem = kind != LineKind::Regular;
    if (problem && m_problems.size() < kMaxProblems) {
        m_waiting.insert(serial, m_problems.size());
        m_problems.append({kind, line.toString(), std::nullopt});
    }
    for (auto &[located, location] : m_locator.take(line, serial, problem)) {
        if (const auto waiting = m_waiting.constFind(located); waiting != m_waiting.cend()) {
            m_problems[*waiting].location = location;
            m_waiting.erase(waiting);
        }
        chunk.located.append({located, location});
    }
}
