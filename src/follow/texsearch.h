#pragma once

#include <QString>

// Finds a file the way TeX's tools do: in the document's folder first, then along TeX's
// search path (a bibliography in ~/texmf/bibtex/bib, a style of the user's own). The
// search path is asked through kpsewhich, and its answers are kept for a while, so that
// planning and following, which ask often, do not start a process each time.
namespace TexSearch {
// The path of name as the tools would read it; relative to folder when it lies there,
// otherwise absolute. Empty when it is found nowhere.
QString find(const QString &folder, const QString &name);
} // namespace TexSearch
