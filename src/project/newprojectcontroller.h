#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QStringListModel>
#include <functional>
#include <optional>

namespace Ui {
class TemplateOptionView;
}
class QWidget;

// The new-project command: a save panel with the template options below it, then a copy
// of the chosen template at the chosen path with the requested extras, opened at the end
// through the callback the application gives.
class NewProjectController : public QObject
{
    Q_OBJECT
public:
    using OpenDocument = std::function<void(const QString &rootPath)>;

    explicit NewProjectController(QObject *parent = nullptr);
    ~NewProjectController() override;

    // The command. Runs application-modally; openDocument gets the new root file's path
    // once the file is in place.
    void newFromTemplate(QWidget *parentOrNull, const OpenDocument &openDocument);

    // The accessory view's operations; they act on the view of the panel being shown.
    void prepareTemplateAccessoryView();
    void createTemplateMenu();
    void createFolderCombo();
    void createSymLinkMenu();
    int enableAccessoryView();
    void chooseTemplateFile();
    void chooseSymLinkOriginal();
    void cleanupArrays();

    // The lists behind the pop-ups; nullopt outside the panel.
    const std::optional<QStringList> &templateArray() const { return m_templateArray; }
    const std::optional<QStringList> &symLinkArray() const { return m_symLinkArray; }

private:
    void buildView();
    void createFromChoice(const QString &rootPath, const OpenDocument &openDocument);

    std::unique_ptr<Ui::TemplateOptionView> ui;
    QPointer<QWidget> m_templateOptionView;
    QPointer<QWidget> m_panel; // the save panel while it is up
    QStringListModel m_folderNameModel;
    std::optional<QStringList> m_templateArray;
    std::optional<QStringList> m_folderNameArray;
    std::optional<QStringList> m_symLinkArray;
};
