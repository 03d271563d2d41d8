// Building the preferences sheet's window and wiring its controls.
#include "fieldlists.h"
#include "logstringscontroller.h"
#include "prefscontroller.h"
#include "procedurepopup.h"
#include "ui_PrefsSheet.h"

#include <QButtonGroup>
#include <QDialog>

void PrefsController::buildSheet(QWidget *parentWindow)
{
    m_sheet = new QDialog(parentWindow);
    m_ui = std::make_unique<Ui::PrefsSheet>();
    m_ui->setupUi(m_sheet);
    buildFieldLists();
    buildPopups();
    m_strings = std::make_unique<LogStringsController>(m_sheet);
    connectControls();
}

void PrefsController::buildFieldLists()
{
    m_cmdNameFields = FieldLists::named<QLineEdit>(m_sheet, "cmdName%1", 5);
    m_cmdExtFields = FieldLists::named<QLineEdit>(m_sheet, "cmdExt%1", 5);
    m_cmdCmdFields = FieldLists::named<QLineEdit>(m_sheet, "cmdCmd%1", 5);
    m_openNameFields = FieldLists::named<QLineEdit>(m_sheet, "openName%1", 5);
    m_openExtFields = FieldLists::named<QLineEdit>(m_sheet, "openExt%1", 5);
    m_outExtFields = FieldLists::named<QLineEdit>(m_sheet, "outputExt%1", 12, true);
    m_procMenus = FieldLists::named<QComboBox>(m_sheet, "proc%1", 8);
    // The radio cells carry their "Startup Choice" value as the "tag" property.
    m_openChoice = new QButtonGroup(m_sheet);
    for (QRadioButton *cell : m_ui->openChoice->findChildren<QRadioButton *>())
        m_openChoice->addButton(cell, cell->property("tag").toInt());
}

void PrefsController::buildPopups()
{
    for (QComboBox *popup : m_procMenus)
        ProcedurePopup::fill(popup);
    m_ui->logEncoding->clear();
    for (const QString &name : m_sortedEncodingNames)
        m_ui->logEncoding->addItem(name, m_encodingList.value(name));
}

void PrefsController::connectControls()
{
    connect(m_ui->okButton, &QPushButton::clicked, this, &PrefsController::prefsOk);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &PrefsController::prefsCanceled);
    connect(m_ui->revertButton, &QPushButton::clicked, this, &PrefsController::revertToDefauts);
    connect(m_ui->editStringsButton, &QPushButton::clicked, this, &PrefsController::editStrings);
    for (QLineEdit *field : m_cmdNameFields + m_openNameFields)
        connect(field, &QLineEdit::textChanged, this, &PrefsController::namesChanged);
    for (QComboBox *popup : m_procMenus)
        connect(popup, &QComboBox::currentIndexChanged, this, &PrefsController::procChanged);
    connect(m_ui->radioAutomaticSteps, &QRadioButton::toggled, this, &PrefsController::stepsChoiceChanged);
    connect(m_ui->checkFloating, &QCheckBox::toggled, this, &PrefsController::floatingChanged);
    // Escape and the window's close button end the sheet as Cancel does.
    connect(m_sheet, &QDialog::finished, this, &PrefsController::didPrefsSheet);
    connect(m_sheet, &QObject::destroyed, this, &PrefsController::dropSession);
    connect(m_strings.get(), &LogStringsController::finished, this, &PrefsController::didStringsSheet);
}
