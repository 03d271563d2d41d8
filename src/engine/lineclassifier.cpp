#include "lineclassifier.h"

#include "document/helpers/prefixmatch.h"

#include <utility>

LineClassifier::LineClassifier(LogRules rules) : m_rules(std::move(rules)) {}

void LineClassifier::beginCommand(int commandIndex) {
    m_pageShape.reset();
    if (m_rules.checkPages)
        m_pageShape = PageReport::shapeOf(m_rules.pageStrings.value(commandIndex));
}

// The first list that matches wins, in the order errors, warnings, notes; a page report
// is read from any line but Quireon's own.
LineKind LineClassifier::classify(QStringView line) {
    if (line.startsWith(promptPrefix))
        return LineKind::Prompt;
    line = withoutTexPrompt(line);
    if (m_pageShape)
        if (const int pages = PageReport::checkPage(line, *m_pageShape); pages > 0)
            m_counts.pages = pages;
    if (m_rules.checkErrors && checkError(line, m_rules.errorStrings)) {
        ++m_counts.errors;
        return LineKind::Error;
    }
    if (m_rules.checkWarnings && checkError(line, m_rules.warningStrings)) {
        ++m_counts.warnings;
        return LineKind::Warning;
    }
    if (m_rules.checkNotes && checkError(line, m_rules.noteStrings)) {
        ++m_counts.notes;
        return LineKind::Note;
    }
    return LineKind::Regular;
}
