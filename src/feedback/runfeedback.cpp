#include "runfeedback.h"

#include "desktopnotifier.h"
#include "editorlauncher.h"
#include "logfollower.h"
#include "platform/appactivity.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QPlainTextEdit>
#include <QTextBlock>

RunFeedback::RunFeedback(QPlainTextEdit *log, QObject *parent)
    : QObject(parent), m_log(log), m_changes(log), m_notifier(new DesktopNotifier(this)) {
    auto *follower = new LogFollower(log);
    connect(follower, &LogFollower::followRequested, this,
            [this](const SourceLocation &location) { EditorLauncher::open(location, m_workingDir); });
    connect(m_notifier, &DesktopNotifier::activated, this, &RunFeedback::documentWanted);
}

void RunFeedback::setWorkingDir(const QString &dir) {
    m_workingDir = dir;
}

void RunFeedback::logCleared() {
    m_located.clear();
}

void RunFeedback::logCut() {
    m_located.clear();
    m_changes.forgetPositions();
}

void RunFeedback::passStarted(int command) {
    m_passRan = true;
    m_changes.passStarted(command);
}

void RunFeedback::lineScanned(QStringView line, qsizetype position, LineKind kind) {
    if (kind != LineKind::Problem)
        return;
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    m_changes.problemLine(line.toString(), position);
}

void RunFeedback::lineLocated(qsizetype position, const SourceLocation &location) {
    m_located.append({position, location});
}

void RunFeedback::linesShown() {
    QTextDocument *document = m_log->document();
    for (const auto &[position, location] : std::as_const(m_located))
        LogFollower::setLocation(document->findBlock(int(position)), location);
    m_located.clear();
}

QString RunFeedback::runEnded(const Outcome &outcome) {
    if (!std::exchange(m_passRan, false))
        return QString();
    if (!outcome.stopped && gQuireonPrefs->notifyInBackground() && !AppActivity::isActive())
        m_notifier->notify(noticeText(outcome), outcome.errors > 0);
    return m_changes.runEnded(outcome.stopped);
}

namespace {
QString counted(int count, const char *one, const char *many) {
    return count == 1 ? Text::localized(one) : Text::format(many, {QString::number(count)});
}
} // namespace

QString RunFeedback::noticeText(const Outcome &outcome) {
    if (outcome.errors > 0)
        return Text::format("NoticeProblems",
                            {outcome.fileName, counted(outcome.errors, "NoticeOneError", "NoticeErrors"),
                             counted(outcome.warnings, "NoticeOneWarning", "NoticeWarnings")});
    if (outcome.pages > 0)
        return Text::format("NoticeDonePages",
                            {outcome.fileName, counted(outcome.pages, "NoticeOnePage", "NoticePages")});
    return Text::format("NoticeDone", {outcome.fileName});
}
