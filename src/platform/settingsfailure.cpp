#include "settingsfailure.h"

#include "alerts.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

namespace SettingsFailure {
namespace {
bool userTold = false;
int quietDepth = 0;
} // namespace

void install()
{
    QuireonPrefs::setSaveFailureHandler(&saveFailed);
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
}
} // namespace SettingsFailure
