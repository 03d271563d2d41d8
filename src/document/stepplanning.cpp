// Steps of the auto procedure with nothing to do are left out, and engine passes are added
// until the references settle; the log tells each decision.
#include "mydocument.h"

#include "settings/quireonprefs.h"

void MyDocument::planProcedure() {
    QList<int> codes;
    for (int entry = 0; entry < kProcedureSteps; ++entry)
        codes.append(gQuireonPrefs->procedureAtIndex(entry));
    stepPlanner.begin(m_basePath, codes, gQuireonPrefs->cmdCmdArray(),
                      gQuireonPrefs->onlyStepsWithWork());
}

bool MyDocument::stepHasWork(int entry, int index) {
    const StepDecision decision = stepPlanner.decide(entry);
    noteStep(decision, index);
    return decision.run;
}

// Called once the step before has ended well.
bool MyDocument::repeatEnginePass() {
    const StepDecision decision = stepPlanner.afterStep();
    noteStep(decision, stepPlanner.repeatCommand());
    if (!decision.run)
        return false;
    procRunning = execCommandOfIndex(stepPlanner.repeatCommand());
    return true;
}

void MyDocument::noteStep(const StepDecision &decision, int index) {
    const QString note = stepNote(decision, gQuireonPrefs->cmdNameAtIndex(index));
    if (!note.isEmpty())
        appendALogLine(promptPrefix + note + QLatin1Char('\n'));
}
