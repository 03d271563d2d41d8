#include "desktopopener.h"
#include "xdgopen.h"

#include <QFileInfo>

namespace DesktopOpener {
namespace {
Opener gOpener;
}

bool openFile(const QString &path, QObject *context, std::function<void()> failed)
{
    if (!QFileInfo::exists(path))
        return false;
    if (gOpener)
        return gOpener(path);
    return XdgOpen::start(path, context, std::move(failed));
}

bool openFile(const QString &path)
{
    return openFile(path, nullptr, {});
}

void setOpener(Opener opener)
{
    gOpener = std::move(opener);
}
} // namespace DesktopOpener
