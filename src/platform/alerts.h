#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Alerts and sheets. Tests queue the answers with setNextAnswer(); a queued answer is
// taken instead of showing anything, and every alert is recorded in shown().
namespace Alerts {
struct Shown {
    QString header;
    QString message;
    QStringList buttons;
};

// Return codes of a sheet: the default button answers 1, the alternate 0.
constexpr int DefaultReturn = 1;
constexpr int AlternateReturn = 0;

// An application-modal alert with one "OK" button.
void runAlert(const QString &header, const QString &message);
// A window-modal sheet on parent with a default and an alternate button; the end
// handler gets the return code once the user answers. The defaultIsAlternate flag makes
// the alternate button the one Return presses; Escape presses the alternate button unless
// escapeIsDefault (for sheets whose alternate button is the one that destroys).
void beginSheet(QWidget *parent, const QString &header, const QString &message,
                const QString &defaultButton, const QString &alternateButton,
                std::function<void(int)> endHandler, bool defaultIsAlternate = false,
                bool escapeIsDefault = false);

// Test hooks.
void setNextAnswer(int returnCode);
bool hasPendingAnswer();
const QList<Shown> &shown();
void clearShown();
} // namespace Alerts
