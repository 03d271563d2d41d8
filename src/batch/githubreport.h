#pragma once

#include "engine/logreader.h"

#include <QDir>
#include <QList>
#include <QString>

// Workflow command lines for GitHub Actions, which shows them on a pull request's changed
// lines: one per error and warning whose place in the sources is known,
// "::error file=chapters/intro.tex,line=12::Undefined control sequence.".
namespace GitHubReport {
// Paths are given relative to base, the folder the workflow runs in.
QString annotations(const QList<ProblemLine> &problems, const QDir &base);
} // namespace GitHubReport
