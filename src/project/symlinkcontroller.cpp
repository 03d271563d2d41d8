#include "symlinkcontroller.h"

#include "originals.h"
#include "projectfiles.h"
#include "showalert.h"
#include "platform/filepanel.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "ui_SymLinkOptionView.h"

#include <QFileInfo>

SymLinkController::SymLinkController(QObject *parent)
    : QObject(parent), ui(std::make_unique<Ui::SymLinkOptionView>())
{
}

SymLinkController::~SymLinkController()
{
    // A sheet still up belongs to the window; it must not call back into this object.
    if (m_saveSymLinkPanel)
        m_saveSymLinkPanel->disconnect(this);
}

bool SymLinkController::isSheetUp() const
{
    return !m_saveSymLinkPanel.isNull();
}

void SymLinkController::createSymLink(QWidget *documentWindow, const QString &rootFilePath,
                                      std::function<void()> linkCreated)
{
    if (m_saveSymLinkPanel)
        return;
    m_linkCreated = std::move(linkCreated);
    auto *panel = new FilePanel(documentWindow, FilePanel::Kind::Save);
    m_saveSymLinkPanel = panel;
    auto *view = new QWidget;
    ui->setupUi(view);
    Originals::setStopIcon(ui->stopIconSymLink);
    connect(ui->popupSymLinkFiles, &QComboBox::currentIndexChanged, this, &SymLinkController::originalFileChanged);
    connect(ui->chooseSymLinkButton, &QPushButton::clicked, this, &SymLinkController::chooseSymLinkOriginal);
    prepareAccessoryView();
    panel->setWindowTitle(Text::localized("CreateSymLinkTitle"));
    panel->setMessage(Text::format("CreateSymLinkMessage", {}));
    panel->setPrompt(Text::localized("Create"));
    panel->setNameFieldLabel(Text::localized("SymName"));
    panel->setAccessoryView(view);
    const QFileInfo root(rootFilePath);
    panel->beginSheet(root.path(), root.completeBaseName(),
                      [this](const QString &linkPath) { createSymLinkDidEnd(linkPath); });
}

void SymLinkController::prepareAccessoryView()
{
    createSymLinkMenu();
    validateAccessoryView();
}

void SymLinkController::createSymLinkMenu()
{
    if (!m_saveSymLinkPanel)
        return;
    m_symLinkArray = Originals::fillPopup(ui->popupSymLinkFiles);
    originalFileChanged();
}

void SymLinkController::originalFileChanged()
{
    if (!m_saveSymLinkPanel)
        return;
    std::optional<QString> type;
    if (m_symLinkArray && !m_symLinkArray->isEmpty())
        type = ProjectFiles::linkTypeForOriginal(ui->popupSymLinkFiles->currentText());
    m_saveSymLinkPanel->setAllowedFileTypes(type ? QStringList{*type} : QStringList());
}

bool SymLinkController::validateAccessoryView()
{
    if (!m_saveSymLinkPanel)
        return false;
    const bool none = !m_symLinkArray || m_symLinkArray->isEmpty();
    ui->popupSymLinkFiles->setEnabled(!none);
    ui->stopIconSymLink->setVisible(none);
    return !none;
}

void SymLinkController::chooseSymLinkOriginal()
{
    if (!m_saveSymLinkPanel)
        return;
    if (Originals::choose(m_saveSymLinkPanel, m_symLinkArray.value_or(QStringList()), {}).isEmpty())
        return;
    createSymLinkMenu();
    validateAccessoryView();
}

void SymLinkController::createSymLinkDidEnd(const QString &linkPath)
{
    const bool cancelled = linkPath.isEmpty();
    const bool hasOriginal = !cancelled && validateAccessoryView();
    const QString original = hasOriginal ? ui->popupSymLinkFiles->currentText() : QString();
    m_symLinkArray.reset();
    m_saveSymLinkPanel = nullptr;
    if (cancelled)
        return;
    if (!hasOriginal) {
        showAlert({QStringLiteral("SymLinkErrorHeader"), QStringLiteral("BadTemplate_NoOriginal"), {}});
        return;
    }
    // Remembered before the file system is touched, so the original stays first even when
    // the link cannot be made.
    gQuireonPrefs->appendSymLinkFile(original);
    gQuireonPrefs->savePreferences();
    if (const std::optional<ProjectFiles::Alert> alert = ProjectFiles::createSymLinkReplacingFile(linkPath, original))
        showAlert(*alert);
    else if (m_linkCreated)
        m_linkCreated();
}
