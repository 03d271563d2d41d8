#include "procedurepopup.h"

#include "settings/localizedtext.h"

#include <QComboBox>

namespace ProcedurePopup {
void fill(QComboBox *popup)
{
    popup->clear();
    popup->addItem(Text::localized("EmptyStep"));
    // A separator is an item of its own, so the commands sit at 2 .. 6 and the opens at 8 .. 12.
    popup->insertSeparator(popup->count());
    for (int i = 0; i < 5; ++i)
        popup->addItem(QString());
    popup->insertSeparator(popup->count());
    for (int i = 0; i < 5; ++i)
        popup->addItem(QString());
}

int itemForStoredValue(int value)
{
    const bool command = value >= kFirstCommand && value < kFirstCommand + 5;
    const bool open = value >= kFirstOpen && value < kFirstOpen + 5;
    return command || open ? value : kEmptyStep;
}
} // namespace ProcedurePopup
