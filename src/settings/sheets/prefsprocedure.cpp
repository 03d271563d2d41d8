// The procedure pop-ups, the choice of steps and the floating controls of the preferences
// sheet: the pop-ups' titles follow the name fields, and enabled states follow the choices.
#include "fieldlists.h"
#include "prefscontroller.h"
#include "procedurepopup.h"
#include "ui_PrefsSheet.h"

void PrefsController::setMenuItemsFromFields(QComboBox *popup)
{
    for (int i = 0; i < m_cmdNameFields.size(); ++i)
        popup->setItemText(ProcedurePopup::kFirstCommand + i, m_cmdNameFields[i]->text());
    for (int i = 0; i < m_openNameFields.size(); ++i)
        popup->setItemText(ProcedurePopup::kFirstOpen + i, m_openNameFields[i]->text());
}

void PrefsController::namesChanged()
{
    for (QComboBox *popup : m_procMenus)
        setMenuItemsFromFields(popup);
}

// Every step after the first empty one is disabled; the procedure never gets there, but
// the disabled pop-ups keep their choice, which is still saved.
void PrefsController::procChanged()
{
    bool enable = true;
    for (QComboBox *popup : m_procMenus) {
        popup->setEnabled(enable);
        if (enable && popup->currentIndex() <= ProcedurePopup::kEmptyStep)
            enable = false;
    }
}

// The automatic steps leave the procedure and its "only the steps that have work" unused;
// they stay visible, disabled, and keep their values, which are still saved.
void PrefsController::stepsChoiceChanged()
{
    if (m_ui)
        m_ui->procedureSteps->setEnabled(!m_ui->radioAutomaticSteps->isChecked());
}

void PrefsController::floatingChanged()
{
    if (!m_ui)
        return;
    const bool floating = m_ui->checkFloating->checkState() == Qt::Checked;
    m_ui->popupWindowContents->setEnabled(floating);
    m_ui->sliderTransparency->setEnabled(floating);
}
