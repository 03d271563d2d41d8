#include "desktopopener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace DesktopOpener {
namespace {
Opener gOpener;
}

bool openFile(const QString &path)
{
    if (!QFileInfo::exists(path))
        return false;
    if (gOpener)
        return gOpener(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setOpener(Opener opener)
{
    gOpener = std::move(opener);
}
} // namespace DesktopOpener
