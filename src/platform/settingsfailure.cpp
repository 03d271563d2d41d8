#include "settingsfailure.h"

#include "alerts.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QTimer>

namespace SettingsFailure {
namespace {
bool userTold = false;
bool damageTold = false;
int quietDepth = 0;
} // namespace

void install()
{
    QuireonPrefs::setSaveFailureHandler(&saveFailed);
    SettingsStore::setDamageHandler(&fileDamaged);
}

void fileDamaged(const QString &fileName, const QString &copy)
{
    if (damageTold)
        return;
    damageTold = true;
    const QString message = copy.isEmpty()
                                ? Text::format("SettingsDamagedUncopiedMessage", {fileName})
                                : Text::format("SettingsDamagedMessage", {fileName, copy});
    // The store finds the damage in the middle of a load or a save, before Quireon is
    // ready to take open requests: the alert waits for the event loop.
    QTimer::singleShot(0, QCoreApplication::instance(), [message] {
        Alerts::runAlert(Text::localized("SettingsDamagedHeader"), message);
    });
}

void saveFailed(const QString &fileName)
{
    if (userTold || quietDepth > 0)
        return;
    userTold = true;
    Alerts::runAlert(Text::localized("SettingsSaveErrorHeader"),
                     Text::format("SettingsSaveErrorMessage", {fileName}));
}

void toldByCaller()
{
    userTold = true;
}

bool told()
{
    return userTold;
}

Quiet::Quiet()
{
    ++quietDepth;
}

Quiet::~Quiet()
{
    --quietDepth;
}

void reset()
{
    userTold = false;
    damageTold = false;
}
} // namespace SettingsFailure
