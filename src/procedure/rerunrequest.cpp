#include "rerunrequest.h"

#include <QByteArray>

namespace {
// Lower case; "Rerun checks for auxiliary files", the banner of a package, must not match.
const char *const kLabelsChanged[] = {"label(s) may have changed",
                                      "rerun to get cross-references right"};
const char *const kPackageAsked[] = {"rerun to get", "rerun latex", "may have changed. rerun"};

bool containsAny(const QByteArray &text, const auto &needles) {
    for (const char *needle : needles)
        if (text.contains(needle))
            return true;
    return false;
}
} // namespace

RerunRequest rerunRequestIn(QByteArrayView log) {
    QByteArray text = log.toByteArray().toLower();
    text.removeIf([](char c) { return c == '\n' || c == '\r'; });
    if (containsAny(text, kLabelsChanged))
        return RerunRequest::LabelsChanged;
    if (containsAny(text, kPackageAsked))
        return RerunRequest::PackageAsked;
    return RerunRequest::None;
}
