#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QWidget;

// The pop-up of recent link originals and its chooser, shared by the symbolic-link sheet
// and the new-project panel.
namespace Originals {

// Drops vanished originals from the settings, then fills the pop-up with the remaining
// ones (or with the "ChooseOriginal" placeholder) and selects item 0. Returns the
// originals shown, empty when only the placeholder is.
QStringList fillPopup(QComboBox *popup);

// Lets the user pick a file or folder, starting beside the most recent original. A pick
// goes to the front of the recent originals and is saved; returns it, or "" on cancel.
QString choose(QWidget *parent, const QStringList &shown, const QString &title);

// The stop icon beside an incomplete choice.
void setStopIcon(QLabel *icon);

} // namespace Originals
