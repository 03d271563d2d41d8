#include "prefscontroller.h"

#include "checkinterval.h"
#include "fieldlists.h"
#include "logstringscontroller.h"
#include "platform/alerts.h"
#include "platform/settingsfailure.h"
#include "platform/core/notificationcenter.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"
#include "ui_PrefsSheet.h"

#include <QDialog>

PrefsController::PrefsController(QObject *parent) : QObject(parent)
{
    // availableEncodings() comes sorted by the user's locale already.
    for (const LogEncoding::Encoding &encoding : LogEncoding::availableEncodings()) {
        m_encodingList.insert(encoding.displayName, encoding.mib);
        m_sortedEncodingNames.append(encoding.displayName);
    }
}

PrefsController::~PrefsController()
{
    closeSheet();
}

QDialog *PrefsController::stringSheet() const
{
    return m_strings ? m_strings->sheet() : nullptr;
}

void PrefsController::openPreferences(QWidget *parentWindow)
{
    if (m_sheet) {
        m_sheet->raise();
        m_sheet->activateWindow();
        return;
    }
    m_currentPrefs = QuireonPrefs::defaultPrefs();
    m_currentPrefs->loadPreferences();
    buildSheet(parentWindow);
    setControlValuesFrom(*m_currentPrefs);
    setStringValuesFrom(*m_currentPrefs);
    m_strings->selectFirstTab();
    showSheet(parentWindow);
}

void PrefsController::showSheet(QWidget *parentWindow)
{
    if (parentWindow) {
        m_sheet->open();
        return;
    }
    // open() would make it window-modal to nothing, which blocks no window at all.
    m_sheet->setWindowModality(Qt::ApplicationModal);
    m_sheet->setResult(0);
    m_sheet->show();
}

void PrefsController::prefsOk()
{
    if (m_sheet && validatePrefs())
        m_sheet->done(1);
}

void PrefsController::prefsCanceled()
{
    if (m_sheet)
        m_sheet->done(0);
}

void PrefsController::didPrefsSheet(int returnCode)
{
    if (returnCode == Alerts::DefaultReturn && m_sheet)
        applyToSharedPrefs();
    closeSheet();
}

void PrefsController::applyToSharedPrefs()
{
    Q_ASSERT(gQuireonPrefs);
    getStringValuesTo(*gQuireonPrefs);
    getControlValuesTo(*gQuireonPrefs);
    bool saved;
    {
        const SettingsFailure::Quiet quiet; // this sheet says it in its own words below
        saved = gQuireonPrefs->savePreferences();
    }
    NotificationCenter::defaultCenter()->post(kPrefsChangedNotification, this,
                                              QVariant::fromValue(static_cast<void *>(gQuireonPrefs)));
    // The new settings are in use either way; the user must learn they will not last.
    if (!saved) {
        SettingsFailure::toldByCaller();
        Alerts::runAlert(Text::localized("PrefsSaveErrorHeader"),
                         Text::format("PrefsSaveErrorMessage", {SettingsStore().fileName()}));
    }
}

void PrefsController::revertToDefauts()
{
    if (!m_sheet)
        return;
    m_currentPrefs = QuireonPrefs::defaultPrefs();
    setControlValuesFrom(*m_currentPrefs);
    setStringValuesFrom(*m_currentPrefs);
}

void PrefsController::editStrings()
{
    if (m_strings)
        m_strings->editStrings(FieldLists::getControlStringsFrom(m_cmdNameFields));
}

void PrefsController::didStringsSheet(int returnCode)
{
    if (!m_strings || !m_currentPrefs)
        return;
    m_strings->deselectAll();
    if (returnCode == Alerts::DefaultReturn)
        m_strings->getStringValuesTo(*m_currentPrefs);
    else
        m_strings->setStringValuesFrom(*m_currentPrefs);
}

void PrefsController::setStringValuesFrom(const QuireonPrefs &prefs)
{
    if (m_strings)
        m_strings->setStringValuesFrom(prefs);
}

void PrefsController::getStringValuesTo(QuireonPrefs &prefs)
{
    if (m_strings)
        m_strings->getStringValuesTo(prefs);
}

bool PrefsController::validatePrefs()
{
    if (CheckInterval::accepted(m_ui->interval->text()))
        return true;
    showValidationFailed(Text::localized("IntervalError"));
    return false;
}

void PrefsController::showValidationFailed(const QString &message)
{
    Alerts::runAlert(Text::localized("PrefsValidation"), message);
}

void PrefsController::closeSheet()
{
    if (m_sheet) {
        disconnect(m_sheet, nullptr, this, nullptr);
        m_sheet->hide();
        m_sheet->deleteLater();
    }
    dropSession();
}

// Forgets the sheet's controls and the working copy; also runs when the parent window
// took the sheet with it.
void PrefsController::dropSession()
{
    m_strings.reset();
    m_sheet = nullptr;
    m_openChoice = nullptr;
    m_cmdNameFields.clear();
    m_cmdExtFields.clear();
    m_cmdCmdFields.clear();
    m_openNameFields.clear();
    m_openExtFields.clear();
    m_outExtFields.clear();
    m_procMenus.clear();
    m_ui.reset();
    m_currentPrefs.reset();
}
