#pragma once

#include "toolstep.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// Which tools an engine pass showed the document needs, read from what the pass left: the
// files its log says it opened for writing, the .aux files, biblatex's .run.xml and .bcf.
// Only tools of a fixed list are ever named: bibliography (biblatex's own request, Biber,
// BibTeX for each .aux with its own \bibdata), index (MakeIndex or splitindex for each .idx
// written, unless the engine ran it itself), nomenclature (.nlo) and glossaries
// (makeglossaries, or its MakeIndex lines; bib2gls).
namespace AutoSteps {
// folder: the root's folder; base: where the pass wrote its files, without extension and
// relative to folder ("thesis", "build/thesis"); log: the pass's .log.
QList<ToolStep> needed(const QString &folder, const QString &base, QByteArrayView log);
// Biber on base.bcf, with the digest of the control file and the data sources it names.
ToolStep biberStep(const QString &folder, const QString &base);
// The Debian package that holds a tool of the list.
QString debianPackageOf(const QString &program);
} // namespace AutoSteps
