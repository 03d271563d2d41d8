#include "appactivity.h"

#include <QGuiApplication>

namespace AppActivity {
namespace {
Source gSource;
}

bool isActive()
{
    if (gSource)
        return gSource();
    return QGuiApplication::applicationState() == Qt::ApplicationActive;
}

void setSource(Source source)
{
    gSource = std::move(source);
}
} // namespace AppActivity
