#include "settings/localizedtext.h"
#include "stepplanner.h"

namespace {
QString reasonText(const StepDecision &decision) {
    switch (decision.reason) {
    case StepReason::FirstRun:
        return Text::localized("ReasonFirstRun");
    case StepReason::OutputMissing:
        return Text::format("ReasonMissing", {decision.file});
    case StepReason::CitationsChanged:
        return Text::localized("ReasonCitationsChanged");
    case StepReason::CitationsUnchanged:
        return Text::localized("ReasonCitationsUnchanged");
    case StepReason::DatabaseChanged:
    case StepReason::FileChanged:
        return Text::format("ReasonChanged", {decision.file});
    case StepReason::EntriesChanged:
        return Text::localized("ReasonEntriesChanged");
    case StepReason::EntriesUnchanged:
        return Text::localized("ReasonEntriesUnchanged");
    case StepReason::LabelsChanged:
        return Text::localized("ReasonLabelsChanged");
    case StepReason::PackageAsked:
        return Text::localized("ReasonPackageAsked");
    case StepReason::Settled:
        return Text::localized("ReasonSettled");
    case StepReason::Always:
    case StepReason::NotSettled:
        break;
    }
    return {};
}

bool isEnginePass(StepReason reason) {
    return reason == StepReason::LabelsChanged || reason == StepReason::PackageAsked ||
           reason == StepReason::FileChanged;
}
} // namespace

QString stepNote(const StepDecision &decision, const QString &name) {
    if (decision.reason == StepReason::Always)
        return {};
    if (decision.reason == StepReason::NotSettled)
        return Text::format("NotSettledNote", {QString::number(decision.passes)});
    const char *key = !decision.run                  ? "StepSkipped"
                      : isEnginePass(decision.reason) ? "StepAgain"
                                                      : "StepRuns";
    return Text::format(key, {name, reasonText(decision)});
}
