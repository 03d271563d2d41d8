#pragma once

#include <QPoint>
#include <functional>

// Where the mouse pointer is on the screen, in global coordinates. Tests script it.
namespace Pointer {
QPoint location();
using Source = std::function<QPoint()>;
// Replaces the real pointer; an empty function restores it.
void setSource(Source source);
} // namespace Pointer
