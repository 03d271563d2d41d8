#pragma once

#include "engine/buildsettings.h"

class QuireonPrefs;

// The settings a build works with, read once from the stored settings.
BuildSettings buildSettingsOf(const QuireonPrefs &prefs);
