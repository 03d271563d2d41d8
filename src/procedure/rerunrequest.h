#pragma once

#include <QByteArrayView>

// What the log of an engine pass asks of the pass after it.
enum class RerunRequest {
    None,
    LabelsChanged, // LaTeX's "Label(s) may have changed. Rerun to get cross-references right."
    PackageAsked,  // a package's request: outlines, citations, table widths...
};

// Reads the request out of a <base>.log. TeX breaks its log lines at a fixed width, so the
// text is searched with its line ends taken out.
RerunRequest rerunRequestIn(QByteArrayView log);
