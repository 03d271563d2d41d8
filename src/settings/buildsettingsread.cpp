#include "buildsettingsread.h"

#include "quireonprefs.h"

BuildSettings buildSettingsOf(const QuireonPrefs &prefs) {
    BuildSettings settings;
    settings.commandNames = prefs.cmdNameArray();
    settings.commandLines = prefs.cmdCmdArray();
    for (int step = 0; step < BuildSettings::kProcedureSteps; ++step)
        settings.procedure.append(prefs.procedureAtIndex(step));
    settings.onlyStepsWithWork = prefs.onlyStepsWithWork();
    settings.automaticSteps = prefs.automaticSteps();
    settings.logRules = {prefs.errorStrArray(), prefs.warningStrArray(), prefs.noteStrArray(),
                         prefs.pageStrArray(),  prefs.checkErrors(),     prefs.checkWarnings(),
                         prefs.checkNotes(),    prefs.checkPages()};
    settings.taskInput = prefs.taskInputString();
    settings.logEncoding = prefs.logEncoding();
    return settings;
}
