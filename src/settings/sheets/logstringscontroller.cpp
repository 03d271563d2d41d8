#include "logstringscontroller.h"

#include "fieldlists.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "stringlistmodel.h"
#include "ui_LogStringsSheet.h"

#include <QDialog>

LogStringsController::LogStringsController(QWidget *prefsSheet)
    : m_sheet(new QDialog(prefsSheet)), m_ui(std::make_unique<Ui::LogStringsSheet>()),
      m_errorStrings(new StringListModel(this)), m_warningStrings(new StringListModel(this)),
      m_noteStrings(new StringListModel(this))
{
    m_ui->setupUi(m_sheet);
    m_pageFields = FieldLists::named<QLineEdit>(m_sheet, "pageString%1", 5);
    m_pageHeaderFields = FieldLists::named<QLabel>(m_sheet, "pageHeader%1", 5);
    m_ui->errorStringTable->setModel(m_errorStrings);
    m_ui->warningStringTable->setModel(m_warningStrings);
    m_ui->noteStringTable->setModel(m_noteStrings);
    connect(m_ui->stringsOkButton, &QPushButton::clicked, this, &LogStringsController::stringsOk);
    connect(m_ui->stringsCancelButton, &QPushButton::clicked, this,
            &LogStringsController::stringsCanceled);
    // Escape and the window's close button end the sheet as Cancel does.
    connect(m_sheet, &QDialog::finished, this, &LogStringsController::finished);
}

LogStringsController::~LogStringsController()
{
    delete m_sheet;
}

void LogStringsController::editStrings(const QStringList &commandNames)
{
    for (int i = 0; i < m_pageHeaderFields.size(); ++i)
        m_pageHeaderFields[i]->setText(Text::format("Page Title", {commandNames.value(i)}));
    m_sheet->open();
}

void LogStringsController::setStringValuesFrom(const QuireonPrefs &prefs)
{
    FieldLists::setControlStringsFrom(prefs.pageStrArray(), m_pageFields);
    m_ui->errorColor->setColor(prefs.errorColor());
    m_ui->warningColor->setColor(prefs.warningColor());
    m_ui->noteColor->setColor(prefs.noteColor());
    m_errorStrings->setStrings(prefs.errorStrArray());
    m_warningStrings->setStrings(prefs.warningStrArray());
    m_noteStrings->setStrings(prefs.noteStrArray());
    for (StringListModel *model : {m_errorStrings, m_warningStrings, m_noteStrings})
        model->sortAndClean();
}

void LogStringsController::getStringValuesTo(QuireonPrefs &prefs)
{
    prefs.setPageStrArray(FieldLists::getControlStringsFrom(m_pageFields));
    prefs.setErrorColor(m_ui->errorColor->color());
    prefs.setWarningColor(m_ui->warningColor->color());
    prefs.setNoteColor(m_ui->noteColor->color());
    for (StringListModel *model : {m_errorStrings, m_warningStrings, m_noteStrings})
        model->sortAndClean();
    prefs.setErrorStrArray(m_errorStrings->strings());
    prefs.setWarningStrArray(m_warningStrings->strings());
    prefs.setNoteStrArray(m_noteStrings->strings());
}

void LogStringsController::deselectAll()
{
    for (QTableView *table : tables())
        table->clearSelection();
}

void LogStringsController::selectFirstTab()
{
    m_ui->stringsTab->setCurrentIndex(0);
}

void LogStringsController::stringsOk()
{
    if (validateStrings())
        m_sheet->done(1);
}

void LogStringsController::stringsCanceled()
{
    m_sheet->done(0);
}

QList<QTableView *> LogStringsController::tables() const
{
    return {m_ui->errorStringTable, m_ui->warningStringTable, m_ui->noteStringTable};
}
