#include "logfollower.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {
class LocationData : public QTextBlockUserData {
public:
    explicit LocationData(const SourceLocation &location) : location(location) {}
    SourceLocation location;
};
} // namespace

LogFollower::LogFollower(QPlainTextEdit *log) : QObject(log), m_log(log), m_viewport(log->viewport()) {
    log->installEventFilter(this);
    log->viewport()->installEventFilter(this);
    log->viewport()->setMouseTracking(true);
}

void LogFollower::setLocation(QTextBlock block, const SourceLocation &location) {
    if (block.isValid())
        block.setUserData(new LocationData(location)); // the block owns it
}

std::optional<SourceLocation> LogFollower::locationOf(const QTextBlock &block) {
    if (const auto *data = dynamic_cast<const LocationData *>(block.userData()))
        return data->location;
    return std::nullopt;
}

bool LogFollower::follow(const QTextBlock &block) {
    const std::optional<SourceLocation> location = locationOf(block);
    if (location)
        emit followRequested(*location);
    return location.has_value();
}

bool LogFollower::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_viewport) {
        if (event->type() == QEvent::MouseMove) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const QTextBlock block = m_log->cursorForPosition(mouse->position().toPoint()).block();
            m_viewport->setCursor(locationOf(block) ? Qt::PointingHandCursor : Qt::IBeamCursor);
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            return follow(m_log->cursorForPosition(mouse->position().toPoint()).block());
        }
    } else if (watched == m_log && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return follow(m_log->textCursor().block());
    }
    return QObject::eventFilter(watched, event);
}
