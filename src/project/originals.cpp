#include "originals.h"

#include "platform/filepanel.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QStyle>

namespace Originals {

QStringList fillPopup(QComboBox *popup)
{
    gQuireonPrefs->validateSymLinks();
    const QStringList originals = gQuireonPrefs->symLinkArray();
    popup->clear();
    if (originals.isEmpty())
        popup->addItem(Text::localized("ChooseOriginal"));
    else
        popup->addItems(originals);
    popup->setCurrentIndex(0);
    return originals;
}

QString choose(QWidget *parent, const QStringList &shown, const QString &title)
{
    FilePanel panel(parent, FilePanel::Kind::OpenFileOrFolder);
    if (!title.isEmpty())
        panel.setWindowTitle(title);
    panel.setMessage(Text::localized("ChooseOriginalMessage"));
    panel.setPrompt(Text::localized("Choose"));
    QString folder, name;
    if (!shown.isEmpty()) {
        const QFileInfo recent(shown.constFirst());
        folder = recent.path();
        name = recent.fileName();
    }
    const QString chosen = panel.runModal(folder, name);
    if (chosen.isEmpty())
        return {};
    gQuireonPrefs->appendSymLinkFile(chosen);
    gQuireonPrefs->savePreferences();
    return chosen;
}

void setStopIcon(QLabel *icon)
{
    const int size = icon->style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(icon->style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(size, size));
    QSizePolicy policy = icon->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    icon->setSizePolicy(policy);
}

} // namespace Originals
