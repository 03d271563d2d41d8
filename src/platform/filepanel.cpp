#include "filepanel.h"

#include "alerts.h"
#include "panels.h"

#include "settings/localizedtext.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>

FilePanel::FilePanel(QWidget *parent, Kind kind)
    : QFileDialog(parent), m_kind(kind)
{
    setOption(QFileDialog::DontUseNativeDialog);
    if (kind == Kind::Save) {
        setAcceptMode(QFileDialog::AcceptSave);
        setFileMode(QFileDialog::AnyFile);
        setOption(QFileDialog::DontConfirmOverwrite); // acceptSave() asks instead
    } else {
        setAcceptMode(QFileDialog::AcceptOpen);
        setFileMode(QFileDialog::ExistingFile);
    }
}

void FilePanel::setMessage(const QString &text)
{
    if (!m_message) {
        m_message = new QLabel(this);
        m_message->setObjectName(QStringLiteral("panelMessage"));
        m_message->setWordWrap(true);
        if (auto *grid = qobject_cast<QGridLayout *>(layout()))
            grid->addWidget(m_message, grid->rowCount(), 0, 1, -1);
    }
    m_message->setText(text);
}

void FilePanel::setPrompt(const QString &text)
{
    setLabelText(QFileDialog::Accept, text);
}

void FilePanel::setNameFieldLabel(const QString &text)
{
    setLabelText(QFileDialog::FileName, text);
}

void FilePanel::setAllowedFileTypes(const QStringList &types)
{
    m_allowedTypes = types;
    QStringList patterns;
    for (const QString &type : types)
        patterns << QStringLiteral("*.") + type;
    setNameFilter(patterns.isEmpty() ? QStringLiteral("*") : patterns.join(u' '));
    setDefaultSuffix(types.isEmpty() ? QString() : types.constFirst());
}

void FilePanel::setAccessoryView(QWidget *view)
{
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(view, grid->rowCount(), 0, 1, -1);
    else
        view->setParent(this);
}

QString FilePanel::withAllowedType(const QString &path) const
{
    if (path.isEmpty() || m_allowedTypes.isEmpty())
        return path;
    if (m_allowedTypes.contains(QFileInfo(path).suffix()))
        return path;
    return path + u'.' + m_allowedTypes.constFirst();
}

QString FilePanel::runModal(const QString &directory, const QString &name)
{
    startIn(directory, name);
    if (const std::optional<QString> answer = Panels::takeNextAnswer(this))
        return m_kind == Kind::Save ? withAllowedType(*answer) : *answer;
    setWindowModality(Qt::ApplicationModal);
    return exec() == QDialog::Accepted ? chosenPath() : QString();
}

void FilePanel::beginSheet(const QString &directory, const QString &name,
                           std::function<void(const QString &)> endHandler)
{
    startIn(directory, name);
    if (const std::optional<QString> answer = Panels::takeNextAnswer(this)) {
        endHandler(withAllowedType(*answer));
        deleteLater();
        return;
    }
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    connect(this, &QDialog::finished, this, [this, endHandler](int result) {
        endHandler(result == QDialog::Accepted ? chosenPath() : QString());
        deleteLater();
    });
    open();
}

void FilePanel::startIn(const QString &directory, const QString &name)
{
    if (!directory.isEmpty())
        setDirectory(directory);
    if (!name.isEmpty())
        selectFile(name);
}

QString FilePanel::chosenPath() const
{
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return {};
    return m_kind == Kind::Save ? withAllowedType(files.constFirst()) : files.constFirst();
}

void FilePanel::accept()
{
    if (m_kind == Kind::Save) {
        acceptSave();
        return;
    }
    // Qt's own accept() enters a selected folder; the original of a link may be one.
    if (m_kind == Kind::OpenFileOrFolder) {
        const QStringList files = selectedFiles();
        if (files.size() == 1 && QFileInfo(files.constFirst()).isDir()
            && QDir(files.constFirst()) != directory()) {
            QDialog::accept();
            return;
        }
    }
    QFileDialog::accept();
}

// Qt would ask about the typed name, but a name that holds a dot ("Paper.v2") gets the
// allowed type only afterwards; the question is about the name that will be written.
void FilePanel::acceptSave()
{
    const QStringList typed = selectedFiles();
    const QFileInfo target(chosenPath());
    const bool taken = target.exists() || target.isSymLink();
    if (typed.isEmpty() || QFileInfo(typed.constFirst()).isDir() || !taken) {
        QFileDialog::accept(); // enters a typed folder, or takes a free name
        return;
    }
    Alerts::beginSheet(this, Text::format("ReplaceHeader", {target.fileName()}),
                       Text::localized("ReplaceMessage"), Text::localized("Replace"),
                       Text::localized("Cancel"), [this](int answer) {
                           if (answer == Alerts::DefaultReturn)
                               QFileDialog::accept();
                       },
                       true);
}
