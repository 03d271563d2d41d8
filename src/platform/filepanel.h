#pragma once

#include <QFileDialog>
#include <functional>

class QLabel;

// A non-native file dialog with what the desktop's panels offer beyond Qt's: a message
// line, an accessory view below the file list, a confirm-button title, allowed file types
// that a saved name is made to end in, and a chooser that accepts files and folders alike.
// Tests answer it through Panels::setNextPanelHandler() / Panels::setNextFileName().
class FilePanel : public QFileDialog
{
    Q_OBJECT
public:
    enum class Kind { OpenFile, OpenFileOrFolder, Save };

    FilePanel(QWidget *parent, Kind kind);

    void setMessage(const QString &text);
    void setPrompt(const QString &text);
    void setNameFieldLabel(const QString &text);
    // The chosen name is made to end in the first type unless it has one of them already.
    // An empty list allows any name.
    void setAllowedFileTypes(const QStringList &types);
    const QStringList &allowedFileTypes() const { return m_allowedTypes; }
    // The panel takes the view over and shows it below its own controls.
    void setAccessoryView(QWidget *view);

    // Application-modal. The chosen path, or "" when cancelled.
    QString runModal(const QString &directory, const QString &name);
    // Window-modal on the parent. endHandler gets the chosen path ("" when cancelled);
    // the panel deletes itself afterwards.
    void beginSheet(const QString &directory, const QString &name,
                    std::function<void(const QString &path)> endHandler);

    // The path with the allowed type appended when it lacks every allowed type.
    QString withAllowedType(const QString &path) const;

protected:
    void accept() override;

private:
    void acceptSave();
    void startIn(const QString &directory, const QString &name);
    QString chosenPath() const;

    Kind m_kind;
    QLabel *m_message = nullptr;
    QStringList m_allowedTypes;
};
