#include "alerts.h"

#include "settings/localizedtext.h"

#include <QMessageBox>
#include <QPushButton>
#include <QQueue>

namespace Alerts {
namespace {
QQueue<int> gAnswers;
QList<Shown> gShown;

// Takes a queued test answer, if there is one.
std::optional<int> takeAnswer()
{
    if (gAnswers.isEmpty())
        return std::nullopt;
    return gAnswers.dequeue();
}
} // namespace

void runAlert(const QString &header, const QString &message)
{
    const QString ok = Text::localized("OK");
    gShown.append({header, message, {ok}});
    if (takeAnswer())
        return;
    QMessageBox box(QMessageBox::Warning, header, header);
    box.setInformativeText(message);
    box.addButton(ok, QMessageBox::AcceptRole);
    box.exec();
}

void beginSheet(QWidget *parent, const QString &header, const QString &message,
                const QString &defaultButton, const QString &alternateButton,
                std::function<void(int)> endHandler, bool defaultIsAlternate,
                bool escapeIsDefault)
{
    gShown.append({header, message, {defaultButton, alternateButton}});
    if (const std::optional<int> answer = takeAnswer()) {
        endHandler(*answer);
        return;
    }
    auto *box = new QMessageBox(QMessageBox::Question, header, header, QMessageBox::NoButton, parent);
    box->setInformativeText(message);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton *yes = box->addButton(defaultButton, QMessageBox::AcceptRole);
    QPushButton *no = box->addButton(alternateButton, QMessageBox::RejectRole);
    box->setDefaultButton(defaultIsAlternate ? no : yes);
    box->setEscapeButton(escapeIsDefault ? yes : no);
    QObject::connect(box, &QMessageBox::buttonClicked, box, [box, yes, endHandler](auto *button) {
        endHandler(button == static_cast<QAbstractButton *>(yes) ? DefaultReturn : AlternateReturn);
        box->close();
    });
    box->open();
}

void setNextAnswer(int returnCode)
{
    gAnswers.enqueue(returnCode);
}

bool hasPendingAnswer()
{
    return !gAnswers.isEmpty();
}

const QList<Shown> &shown()
{
    return gShown;
}

void clearShown()
{
    gShown.clear();
    gAnswers.clear();
}
} // namespace Alerts
