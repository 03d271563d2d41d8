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

// biblatex's "Please (re)run Biber on the file: thesis and rerun LaTeX afterwards." asks
// for the bibliography tool first; a pass before it would change nothing.
void removeToolRequests(QByteArray &text) {
    for (const char *tool : {"please (re)run biber", "please (re)run bibtex", "please rerun biber", "please rerun bibtex"}) {
        for (qsizetype at = text.indexOf(tool); at >= 0; at = text.indexOf(tool, at)) {
            // The request is one sentence; "afterwards" further on belongs to another.
            const qsizetype end = text.indexOf("afterwards", at);
            const bool sentence = end >= 0 && end - at < 160;
            text.remove(at, (sentence ? end + 10 : at + qsizetype(qstrlen(tool))) - at);
        }
    }
}
} // namespace

RerunRequest rerunRequestIn(QByteArrayView log) {
    QByteArray text = log.toByteArray().toLower();
    text.removeIf([](char c) { return c == '\n' || c == '\r'; });
    removeToolRequests(text);
    if (containsAny(text, kLabelsChanged))
        return RerunRequest::LabelsChanged;
    if (containsAny(text, kPackageAsked))
        return RerunRequest::PackageAsked;
    return RerunRequest::None;
}
