#include "quireonprefs.h"
#include "settingsstore.h"
#include "valueranges.h"

void QuireonPrefs::loadPreferences()
{
    SettingsStore store;
    for (const PrefKeyInfo &info : preferenceKeys)
        if (const std::optional<QVariant> value = store.objectForKey(info.key))
            m_prefsDic.insert(info.key, ValueRanges::clamped(info.key, *value));
    // The automatic steps came after the procedure. A store that holds a procedure but
    // no choice (or one that cannot be read) was written by a user who has been running
    // that procedure, and keeps it; a store without a procedure starts with the
    // automatic steps, as a new user does.
    if (!store.objectForKey(Key::AutomaticSteps))
        m_prefsDic.insert(Key::AutomaticSteps, !store.holdsKey(Key::AutoProcedures));
    for (const QString *old : oldPreferenceKeys)
        store.removeObject(*old);
}

namespace {
QuireonPrefs::SaveFailureHandler saveFailureHandler = nullptr;
}

void QuireonPrefs::setSaveFailureHandler(SaveFailureHandler handler)
{
    saveFailureHandler = handler;
}

bool QuireonPrefs::savePreferences()
{
    if (!m_dirty)
        return true;
    SettingsStore store;
    for (const PrefKeyInfo &info : preferenceKeys) {
        if (m_prefsDic.contains(info.key))
            store.setObject(m_prefsDic.value(info.key), info.key);
        else
            store.removeObject(info.key);
    }
    const bool written = store.synchronize();
    m_dirty = false;
    if (!written && saveFailureHandler)
        saveFailureHandler(store.fileName());
    return written;
}
