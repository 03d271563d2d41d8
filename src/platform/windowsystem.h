#pragma once

// Floating windows need to stay on top of other applications and to know the pointer's
// position, which Wayland does not allow: when both a Wayland and an X display are there
// and the user has not chosen a platform, Quireon runs on X11 (XWayland).
namespace WindowSystem {
void preferX11ForFloating();
}
