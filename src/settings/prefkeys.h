#pragma once

#include <QString>
#include <array>

// The settings keys as they appear in the user's settings file, with the kind of value
// each one holds. Code names a key through these constants only.
namespace Key {
inline const QString CommandNames = QStringLiteral("Command Names");
inline const QString CommandExtensions = QStringLiteral("Command Extensions");
inline const QString CommandCommands = QStringLiteral("Command Commands");
inline const QString OpenNames = QStringLiteral("Open Names");
inline const QString OpenExtensions = QStringLiteral("Open Extensions");
inline const QString OutputExtensions = QStringLiteral("Output Extensions");
inline const QString AutoProcedures = QStringLiteral("Auto Procedures");
inline const QString ErrorStrings = QStringLiteral("Error Strings");
inline const QString WarningStrings = QStringLiteral("Warning Strings");
inline const QString NoteStrings = QStringLiteral("Note Strings");
inline const QString PageStrings = QStringLiteral("Page Strings");
inline const QString CheckInterval = QStringLiteral("Check Interval");
inline const QString StartupChoice = QStringLiteral("Startup Choice");
inline const QString CheckErrors = QStringLiteral("Check Errors");
inline const QString CheckWarnings = QStringLiteral("Check Warnings");
inline const QString CheckNotes = QStringLiteral("Check Notes");
inline const QString CheckPages = QStringLiteral("Check Pages");
inline const QString ErrorColor = QStringLiteral("Error Color");
inline const QString WarningColor = QStringLiteral("Warning Color");
inline const QString NoteColor = QStringLiteral("Note Color");
inline const QString LogEncoding = QStringLiteral("Log Encoding");
inline const QString LastOpenedFile = QStringLiteral("Last Opened File");
inline const QString FloatingWindow = QStringLiteral("Floating Window");
inline const QString WindowContents = QStringLiteral("Window Contents");
inline const QString WindowTransparency = QStringLiteral("Window Transparency");
inline const QString LogDisplayTime = QStringLiteral("Log Display Time");
inline const QString AutoExpandFloatingWindow = QStringLiteral("Auto Expand Floating Window");
inline const QString AutoExpandFloatingContents = QStringLiteral("Auto Expand Floating Contents");
inline const QString RecentTemplates = QStringLiteral("Recent Templates");
inline const QString RecentSymbolicLinks = QStringLiteral("Recent Symbolic Links");
inline const QString RecentFolderNames = QStringLiteral("Recent Folder Names");
inline const QString NumberOfRecentItems = QStringLiteral("Number of Recent Items");
inline const QString CreateFolderAlias = QStringLiteral("Create Folder Alias");
inline const QString CreateExtraFolder = QStringLiteral("Create Extra Folder");
inline const QString CreateSymbolicLink = QStringLiteral("Create Symbolic Link");
inline const QString TaskInputString = QStringLiteral("Task Input String");
inline const QString NotifyInBackground = QStringLiteral("Notify in Background");
inline const QString EditorCommand = QStringLiteral("Editor Command");
// Auto mode also follows the files the document read at its last run.
inline const QString FollowIncludedFiles = QStringLiteral("Follow Included Files");
// Stores written by earlier versions lack it and read the default.
inline const QString OnlyStepsWithWork = QStringLiteral("Run Only Steps With Work");
// Auto mode runs the steps each pass shows the document needs instead of the procedure.
// A store without it reads true when it holds no procedure, false when it holds one.
inline const QString AutomaticSteps = QStringLiteral("Automatic Steps");

// Kept in the same store, but not settings of the settings object.
inline const QString DocumentWindowSize = QStringLiteral("Document Window Size");
inline const QString RecentDocuments = QStringLiteral("Recent Documents");
// Keys of an earlier store layout, removed at load.
inline const QString LastSymbolicLink = QStringLiteral("Last Symbolic Link");
inline const QString LastTemplate = QStringLiteral("Last Template");
} // namespace Key

enum class PrefKind { Bool, Int, UnsignedLong, Float, Double, Color, String, StringList, IntList };

struct PrefKeyInfo {
    const QString &key;
    PrefKind kind;
};

// The 41 keys that are loaded and saved, in their fixed order.
extern const std::array<PrefKeyInfo, 41> preferenceKeys;
extern const std::array<const QString *, 2> oldPreferenceKeys;

// The kind of a key of preferenceKeys; String for any other key.
PrefKind kindOfKey(const QString &key);
