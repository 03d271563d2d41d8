#include "newprojectcontroller.h"

#include "originals.h"
#include "projectfiles.h"
#include "shippedtemplates.h"
#include "showalert.h"
#include "platform/alerts.h"
#include "platform/filepanel.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "ui_TemplateOptionView.h"

#include <QFileInfo>

using namespace ProjectFiles;

NewProjectController::NewProjectController(QObject *parent)
    : QObject(parent), ui(std::make_unique<Ui::TemplateOptionView>())
{
}

NewProjectController::~NewProjectController() = default;

void NewProjectController::newFromTemplate(QWidget *parentOrNull, const OpenDocument &openDocument)
{
    FilePanel panel(parentOrNull, FilePanel::Kind::Save);
    m_panel = &panel;
    buildView();
    prepareTemplateAccessoryView();
    panel.setWindowTitle(Text::localized("NewFromTemplateTitle"));
    panel.setMessage(Text::format("NewFromTemplateMessage", {}));
    panel.setPrompt(Text::localized("Create"));
    panel.setNameFieldLabel(Text::localized("NewName"));
    const QString rootType = gQuireonPrefs->rootType();
    panel.setAllowedFileTypes(rootType.isEmpty() ? QStringList() : QStringList{rootType});
    panel.setAccessoryView(m_templateOptionView);
    const QString rootPath = panel.runModal({}, {});
    if (rootPath.isEmpty())
        cleanupArrays();
    else
        createFromChoice(rootPath, openDocument);
}

void NewProjectController::buildView()
{
    m_templateOptionView = new QWidget;
    ui->setupUi(m_templateOptionView);
    for (QLabel *icon : {ui->stopIconTemplate, ui->stopIconFolder, ui->stopIconSymLink})
        Originals::setStopIcon(icon);
    ui->comboFolderNames->setModel(&m_folderNameModel);
    connect(ui->chooseTemplateButton, &QPushButton::clicked, this, &NewProjectController::chooseTemplateFile);
    connect(ui->chooseSymLinkButton, &QPushButton::clicked, this, &NewProjectController::chooseSymLinkOriginal);
    for (QCheckBox *box : {ui->checkFolderAlias, ui->checkCreateFolder, ui->checkSymbolicLink})
        connect(box, &QCheckBox::toggled, this, &NewProjectController::enableAccessoryView);
    // Typing in the combo box shows and hides the folder's stop icon as the text changes.
    connect(ui->comboFolderNames, &QComboBox::editTextChanged, this, &NewProjectController::enableAccessoryView);
    connect(ui->comboFolderNames, &QComboBox::activated, this, &NewProjectController::enableAccessoryView);
}

void NewProjectController::prepareTemplateAccessoryView()
{
    if (!m_templateOptionView)
        return;
    ui->checkFolderAlias->setChecked(gQuireonPrefs->checkCreateFolderAlias());
    ui->checkCreateFolder->setChecked(gQuireonPrefs->checkCreateExtraFolder());
    ui->checkSymbolicLink->setChecked(gQuireonPrefs->checkCreateSymLink());
    createTemplateMenu();
    createFolderCombo();
    createSymLinkMenu();
    enableAccessoryView();
}

void NewProjectController::createTemplateMenu()
{
    if (!m_templateOptionView)
        return;
    const QString rootType = gQuireonPrefs->rootType();
    gQuireonPrefs->validateTemplates();
    QStringList templates;
    for (const QString &path : gQuireonPrefs->templateArray())
        if (QFileInfo(path).suffix() == rootType)
            templates << path;
    m_templateArray = templates;
    ui->popupTemplateFiles->clear();
    ui->popupTemplateFiles->addItems(templates);
    if (templates.isEmpty())
        ui->popupTemplateFiles->addItem(Text::localized("ChooseTemplate"));
    ui->popupTemplateFiles->setCurrentIndex(0);
}

void NewProjectController::createFolderCombo()
{
    if (!m_templateOptionView)
        return;
    m_folderNameArray = gQuireonPrefs->folderNameArray();
    const QString typed = ui->comboFolderNames->currentText();
    m_folderNameModel.setStringList(*m_folderNameArray);
    if (m_folderNameArray->isEmpty())
        ui->comboFolderNames->setEditText(typed);
    else
        ui->comboFolderNames->setCurrentIndex(0);
}

void NewProjectController::createSymLinkMenu()
{
    if (m_templateOptionView)
        m_symLinkArray = Originals::fillPopup(ui->popupSymLinkFiles);
}

int NewProjectController::enableAccessoryView()
{
    if (!m_templateOptionView)
        return 0;
    int mask = 0;
    const bool noTemplate = !m_templateArray || m_templateArray->isEmpty();
    ui->popupTemplateFiles->setEnabled(!noTemplate);
    ui->stopIconTemplate->setVisible(noTemplate);
    mask |= noTemplate ? NoTemplate : 0;

    const bool folder = ui->checkCreateFolder->isChecked();
    const bool noName = folder && ui->comboFolderNames->currentText().isEmpty();
    ui->comboFolderNames->setEnabled(folder);
    ui->stopIconFolder->setVisible(noName);
    mask |= noName ? NoFolderName : 0;

    const bool link = ui->checkSymbolicLink->isChecked();
    const bool noOriginal = link && (!m_symLinkArray || m_symLinkArray->isEmpty());
    ui->chooseSymLinkButton->setEnabled(link);
    ui->popupSymLinkFiles->setEnabled(link && !noOriginal);
    ui->stopIconSymLink->setVisible(noOriginal);
    mask |= noOriginal ? NoOriginal : 0;
    return mask;
}

void NewProjectController::chooseTemplateFile()
{
    if (!m_templateOptionView)
        return;
    const QString rootType = gQuireonPrefs->rootType();
    FilePanel chooser(m_panel, FilePanel::Kind::OpenFile);
    chooser.setWindowTitle(Text::localized("ChooseTemplateTitle"));
    chooser.setMessage(Text::format("ChooseTemplateMessage", {rootType}));
    chooser.setPrompt(Text::localized("Choose"));
    chooser.setAllowedFileTypes({rootType});
    QString folder = shippedTemplatesFolder();
    QString name;
    if (m_templateArray && !m_templateArray->isEmpty()) {
        const QFileInfo recent(m_templateArray->constFirst());
        folder = recent.path();
        name = recent.fileName();
    }
    const QString chosen = chooser.runModal(folder, name);
    if (chosen.isEmpty())
        return;
    gQuireonPrefs->appendTemplateFile(chosen);
    gQuireonPrefs->savePreferences();
    createTemplateMenu();
    enableAccessoryView();
}

void NewProjectController::chooseSymLinkOriginal()
{
    if (!m_templateOptionView)
        return;
    const QString chosen = Originals::choose(m_panel, m_symLinkArray.value_or(QStringList()),
                                             Text::localized("ChooseOriginalTitle"));
    if (chosen.isEmpty())
        return;
    createSymLinkMenu();
    enableAccessoryView();
}

void NewProjectController::cleanupArrays()
{
    m_templateArray.reset();
    m_folderNameArray.reset();
    m_symLinkArray.reset();
}

void NewProjectController::createFromChoice(const QString &rootPath, const OpenDocument &openDocument)
{
    if (const int mask = enableAccessoryView()) {
        Alerts::runAlert(Text::localized("CreateNewErrorHeader"), incompleteChoiceText(mask));
        cleanupArrays();
        return;
    }
    const QString templatePath = m_templateArray->at(ui->popupTemplateFiles->currentIndex());
    gQuireonPrefs->appendTemplateFile(templatePath);
    Options options;
    options.folderAlias = ui->checkFolderAlias->isChecked();
    gQuireonPrefs->setCheckCreateFolderAlias(options.folderAlias);
    gQuireonPrefs->setCheckCreateExtraFolder(ui->checkCreateFolder->isChecked());
    if (ui->checkCreateFolder->isChecked()) {
        options.extraFolderName = ui->comboFolderNames->currentText();
        gQuireonPrefs->appendFolderName(*options.extraFolderName);
    }
    gQuireonPrefs->setCheckCreateSymLink(ui->checkSymbolicLink->isChecked());
    if (ui->checkSymbolicLink->isChecked()) {
        options.original = m_symLinkArray->at(ui->popupSymLinkFiles->currentIndex());
        gQuireonPrefs->appendSymLinkFile(*options.original);
    }
    // Remembered before any file is touched, so a failure below keeps the choices.
    gQuireonPrefs->savePreferences();
    cleanupArrays();
    const Outcome outcome = createProject(rootPath, templatePath, options);
    for (const Alert &alert : outcome.alerts)
        showAlert(alert);
    if (outcome.rootCreated && openDocument)
        openDocument(rootPath);
}
