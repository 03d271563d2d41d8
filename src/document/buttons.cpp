// Titles, tool tips and enabling of the command and open buttons.
#include "mydocument.h"
#include "ui_MyDocument.h"

#include "document/helpers/rootpaths.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QFileInfo>

QList<QPushButton *> MyDocument::commandButtons() const {
    return {ui->buttonExe1, ui->buttonExe2, ui->buttonExe3, ui->buttonExe4, ui->buttonExe5};
}

QList<QPushButton *> MyDocument::openButtons() const {
    return {ui->buttonFile1, ui->buttonFile2, ui->buttonFile3, ui->buttonFile4, ui->buttonFile5};
}

void MyDocument::setButtonTitles() {
    const QList<QPushButton *> commands = commandButtons();
    const QList<QPushButton *> opens = openButtons();
    for (int i = 0; i < 5; ++i) {
        commands[i]->setText(gQuireonPrefs->cmdNameAtIndex(i));
        opens[i]->setText(gQuireonPrefs->openNameAtIndex(i));
    }
    for (int i = 0; i < 5; ++i) {
        // The tip shows the command line as it will run, "%1" of the text included.
        QString tip = Text::format("cmdToolTip", {gQuireonPrefs->cmdCmdAtIndex(i)});
        commands[i]->setToolTip(tip.replace(QLatin1String("%1"), m_basename));
    }
    for (int i = 0; i < 5; ++i) {
        const QString fileName = m_basename + QLatin1Char('.') + gQuireonPrefs->openExtAtIndex(i);
        opens[i]->setToolTip(Text::format("openToolTip", {fileName}));
    }
}

void MyDocument::enableButtons(bool enable) {
    if (enable && isRunning())
        return;
    const QList<QPushButton *> commands = commandButtons();
    const QList<QPushButton *> opens = openButtons();
    for (int i = 0; i < 5; ++i)
        commands[i]->setEnabled(enable && existsAFileWithExt(gQuireonPrefs->cmdExtAtIndex(i)));
    for (int i = 0; i < 5; ++i)
        opens[i]->setEnabled(enable && existsAFileWithExt(gQuireonPrefs->openExtAtIndex(i)));
    ui->buttonClearFiles->setEnabled(enable);
    ui->checkAutoMode->setEnabled(enable);
    validateMenus();
}

bool MyDocument::existsAFileWithExt(const QString &ext) const {
    // Before the document has its file there is nothing to find.
    if (m_rootFilePath.isEmpty())
        return false;
    const QFileInfo file(outputPath(m_basePath, ext));
    return file.exists() && file.isReadable();
}
