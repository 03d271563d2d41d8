#include "prefkeys.h"

const std::array<PrefKeyInfo, 41> preferenceKeys = {{
    {Key::CommandNames, PrefKind::StringList},
    {Key::CommandExtensions, PrefKind::StringList},
    {Key::CommandCommands, PrefKind::StringList},
    {Key::OpenNames, PrefKind::StringList},
    {Key::OpenExtensions, PrefKind::StringList},
    {Key::OutputExtensions, PrefKind::StringList},
    {Key::AutoProcedures, PrefKind::IntList},
    {Key::ErrorStrings, PrefKind::StringList},
    {Key::WarningStrings, PrefKind::StringList},
    {Key::NoteStrings, PrefKind::StringList},
    {Key::PageStrings, PrefKind::StringList},
    {Key::CheckInterval, PrefKind::Int},
    {Key::StartupChoice, PrefKind::Int},
    {Key::CheckErrors, PrefKind::Bool},
    {Key::CheckWarnings, PrefKind::Bool},
    {Key::CheckNotes, PrefKind::Bool},
    {Key::CheckPages, PrefKind::Bool},
    {Key::ErrorColor, PrefKind::Color},
    {Key::WarningColor, PrefKind::Color},
    {Key::NoteColor, PrefKind::Color},
    {Key::LogEncoding, PrefKind::UnsignedLong},
    {Key::LastOpenedFile, PrefKind::String},
    {Key::FloatingWindow, PrefKind::Bool},
    {Key::WindowContents, PrefKind::Int},
    {Key::WindowTransparency, PrefKind::Float},
    {Key::LogDisplayTime, PrefKind::Float},
    {Key::AutoExpandFloatingWindow, PrefKind::Bool},
    {Key::AutoExpandFloatingContents, PrefKind::Int},
    {Key::RecentTemplates, PrefKind::StringList},
    {Key::RecentSymbolicLinks, PrefKind::StringList},
    {Key::RecentFolderNames, PrefKind::StringList},
    {Key::NumberOfRecentItems, PrefKind::Int},
    {Key::CreateFolderAlias, PrefKind::Bool},
    {Key::CreateExtraFolder, PrefKind::Bool},
    {Key::CreateSymbolicLink, PrefKind::Bool},
    {Key::TaskInputString, PrefKind::String},
    {Key::NotifyInBackground, PrefKind::Bool},
    {Key::EditorCommand, PrefKind::String},
    {Key::FollowIncludedFiles, PrefKind::Bool},
    {Key::OnlyStepsWithWork, PrefKind::Bool},
    {Key::AutomaticSteps, PrefKind::Bool},
}};

const std::array<const QString *, 2> oldPreferenceKeys = {&Key::LastSymbolicLink,
                                                          &Key::LastTemplate};

PrefKind kindOfKey(const QString &key)
{
    for (const PrefKeyInfo &info : preferenceKeys)
        if (info.key == key)
            return info.kind;
    return PrefKind::String;
}
