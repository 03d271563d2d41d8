#pragma once

class QComboBox;

// The items of a procedure step's pop-up. The item index is what "Auto Procedures"
// stores, so the separators are real items.
namespace ProcedurePopup {
constexpr int kEmptyStep = 0;
constexpr int kFirstCommand = 2;
constexpr int kFirstOpen = 8;
constexpr int kItemCount = 13;

// Fills popup with the empty step, a separator, five commands, a separator, five opens.
void fill(QComboBox *popup);
// The item to select for a stored value; values that name no step show the empty step.
int itemForStoredValue(int value);
} // namespace ProcedurePopup
