// Filling the preferences sheet's controls from a settings object and reading them back.
#include "checkinterval.h"
#include "fieldlists.h"
#include "prefscontroller.h"
#include "procedurepopup.h"
#include "settings/logencoding.h"
#include "settings/quireonprefs.h"
#include "ui_PrefsSheet.h"

#include <QButtonGroup>

using FieldLists::getControlStringsFrom;
using FieldLists::setControlStringsFrom;

// The slider moves in hundredths of the transparency.
static constexpr float kSliderScale = 100.0f;

void PrefsController::setControlValuesFrom(const QuireonPrefs &prefs)
{
    if (!m_ui)
        return;
    setControlStringsFrom(prefs.cmdNameArray(), m_cmdNameFields);
    setControlStringsFrom(prefs.cmdExtArray(), m_cmdExtFields);
    setControlStringsFrom(prefs.cmdCmdArray(), m_cmdCmdFields);
    setControlStringsFrom(prefs.openNameArray(), m_openNameFields);
    setControlStringsFrom(prefs.openExtArray(), m_openExtFields);
    setControlStringsFrom(prefs.outputExtArray(), m_outExtFields);
    const QList<int> steps = prefs.procedureArray();
    for (int i = 0; i < m_procMenus.size(); ++i)
        m_procMenus[i]->setCurrentIndex(ProcedurePopup::itemForStoredValue(steps.value(i, 0)));
    m_ui->interval->setText(QString::number(prefs.interval()));
    m_ui->checkFollowInputs->setChecked(prefs.followInputs());
    selectOpenChoice(prefs.startupChoice());
    m_ui->checkErrors->setChecked(prefs.checkErrors());
    m_ui->checkWarnings->setChecked(prefs.checkWarnings());
    m_ui->checkNotes->setChecked(prefs.checkNotes());
    m_ui->checkPages->setChecked(prefs.checkPages());
    m_ui->checkOnlyStepsWithWork->setChecked(prefs.onlyStepsWithWork());
    (prefs.automaticSteps() ? m_ui->radioAutomaticSteps : m_ui->radioProcedureSteps)->setChecked(true);
    m_ui->checkFloating->setChecked(prefs.floatingWindow());
    const int lastLevel = m_ui->popupWindowContents->count() - 1;
    m_ui->popupWindowContents->setCurrentIndex(std::clamp(prefs.windowContents(), 0, lastLevel));
    m_ui->sliderTransparency->setValue(qRound(prefs.windowTransparency() * kSliderScale));
    m_ui->logEncoding->setCurrentIndex(m_ui->logEncoding->findText(nameOfEncoding(prefs.logEncoding())));
    m_ui->checkNotifyInBackground->setChecked(prefs.notifyInBackground());
    m_ui->editorCommand->setText(prefs.editorCommand());
    namesChanged();
    procChanged();
    floatingChanged();
}

void PrefsController::getControlValuesTo(QuireonPrefs &prefs) const
{
    if (!m_ui)
        return;
    prefs.setCmdNameArray(getControlStringsFrom(m_cmdNameFields));
    prefs.setCmdExtArray(getControlStringsFrom(m_cmdExtFields));
    prefs.setCmdCmdArray(getControlStringsFrom(m_cmdCmdFields));
    prefs.setOpenNameArray(getControlStringsFrom(m_openNameFields));
    prefs.setOpenExtArray(getControlStringsFrom(m_openExtFields));
    prefs.setOutputExtArray(getControlStringsFrom(m_outExtFields));
    QList<int> steps;
    for (const QComboBox *popup : m_procMenus)
        steps.append(popup->currentIndex());
    prefs.setProcedureArray(steps);
    prefs.setInterval(CheckInterval::leadingInteger(m_ui->interval->text()));
    prefs.setFollowInputs(m_ui->checkFollowInputs->isChecked());
    prefs.setStartupChoice(selectedOpenChoice());
    prefs.setCheckErrors(m_ui->checkErrors->checkState() == Qt::Checked);
    prefs.setCheckWarnings(m_ui->checkWarnings->checkState() == Qt::Checked);
    prefs.setCheckNotes(m_ui->checkNotes->checkState() == Qt::Checked);
    prefs.setCheckPages(m_ui->checkPages->checkState() == Qt::Checked);
    prefs.setOnlyStepsWithWork(m_ui->checkOnlyStepsWithWork->isChecked());
    prefs.setAutomaticSteps(m_ui->radioAutomaticSteps->isChecked());
    prefs.setFloatingWindow(m_ui->checkFloating->checkState() == Qt::Checked);
    prefs.setWindowContents(m_ui->popupWindowContents->currentIndex());
    prefs.setWindowTransparency(float(m_ui->sliderTransparency->value()) / kSliderScale);
    prefs.setNotifyInBackground(m_ui->checkNotifyInBackground->isChecked());
    prefs.setEditorCommand(m_ui->editorCommand->text());
    // An encoding this system cannot decode shows no item; it stays as it is stored.
    if (m_ui->logEncoding->currentIndex() >= 0)
        prefs.setLogEncoding(encodingOfName(m_ui->logEncoding->currentText()));
}

// A value that no cell stands for means "open nothing", as the cell tagged 0 does.
void PrefsController::selectOpenChoice(int value)
{
    QAbstractButton *cell = m_openChoice->button(value);
    if (!cell)
        cell = m_openChoice->button(0);
    if (cell)
        cell->setChecked(true);
}

int PrefsController::selectedOpenChoice() const
{
    return std::max(0, m_openChoice->checkedId());
}

quint32 PrefsController::encodingOfName(const QString &name) const
{
    return m_encodingList.value(name, 0);
}

QString PrefsController::nameOfEncoding(quint32 encoding)
{
    return LogEncoding::displayName(encoding);
}
