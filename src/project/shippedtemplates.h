#pragma once

#include <QString>

// The folder of the starting templates that come with Quireon: the installed one beside
// the executable (../share/quireon/templates), else the source tree's templates/ folder.
QString shippedTemplatesFolder();
