#include "windowsystem.h"

#include <QByteArray>
#include <QtGlobal>

namespace WindowSystem {
void preferX11ForFloating()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return;
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("xcb"));
}
} // namespace WindowSystem
