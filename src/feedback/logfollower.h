#pragma once

#include "document/helpers/sourcelocator.h"

#include <QObject>
#include <optional>

class QPlainTextEdit;
class QWidget;
class QTextBlock;

// Lets the user follow a log line to the source: a double-click on a line that points into
// a source file, or Enter with the cursor on it, asks for that place; the pointer turns
// into a hand over such lines. Where a line points is kept with the line itself.
class LogFollower : public QObject {
    Q_OBJECT
public:
    explicit LogFollower(QPlainTextEdit *log);

    static void setLocation(QTextBlock block, const SourceLocation &location);
    static std::optional<SourceLocation> locationOf(const QTextBlock &block);

signals:
    void followRequested(const SourceLocation &location);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool follow(const QTextBlock &block);
    QPlainTextEdit *m_log;
    // Kept apart: events still arrive while the log is half destroyed, when asking it for
    // its viewport is no longer allowed.
    QWidget *m_viewport;
};
