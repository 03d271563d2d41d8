#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class SymLinkOptionView;
}
class FilePanel;
class QWidget;

// The symbolic-link sheet of a document: a save panel on the document window, starting
// beside the root file with its base name, and below it the pop-up of recent originals.
// Confirming it makes a link to the selected original at the chosen path.
class SymLinkController : public QObject
{
    Q_OBJECT
public:
    explicit SymLinkController(QObject *parent = nullptr);
    ~SymLinkController() override;

    // Starts the sheet on documentWindow (ignored while one is up). linkCreated runs once
    // a link has been made, so that the document can refresh its buttons.
    void createSymLink(QWidget *documentWindow, const QString &rootFilePath,
                       std::function<void()> linkCreated);
    bool isSheetUp() const;

    // The sheet's operations; they act on the sheet being shown.
    void prepareAccessoryView();
    void createSymLinkMenu();
    void originalFileChanged();
    bool validateAccessoryView();
    void chooseSymLinkOriginal();

    // The originals behind the pop-up; nullopt outside the sheet.
    const std::optional<QStringList> &symLinkArray() const { return m_symLinkArray; }

private:
    void createSymLinkDidEnd(const QString &linkPath);

    std::unique_ptr<Ui::SymLinkOptionView> ui;
    QPointer<FilePanel> m_saveSymLinkPanel;
    std::optional<QStringList> m_symLinkArray;
    std::function<void()> m_linkCreated;
};
