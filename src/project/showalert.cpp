#include "showalert.h"

#include "platform/alerts.h"
#include "settings/localizedtext.h"

void showAlert(const ProjectFiles::Alert &alert)
{
    const QStringList args = alert.path.isNull() ? QStringList() : QStringList{alert.path};
    Alerts::runAlert(Text::localized(alert.headerKey), Text::format(alert.messageKey.toUtf8().constData(), args));
}
