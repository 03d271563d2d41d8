#pragma once

#include <functional>

// Whether Quireon is the active application: on Linux, while one of its windows has the
// focus. Tests replace the answer, since an offscreen session has no focus to lose.
namespace AppActivity {
bool isActive();
using Source = std::function<bool()>;
// Replaces the window system's answer; an empty function restores it.
void setSource(Source source);
} // namespace AppActivity
