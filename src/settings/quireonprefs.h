#pragma once

#include "prefkeys.h"

#include <QColor>
#include <QStringList>
#include <QVariantMap>
#include <memory>

// Every user setting in one dictionary keyed by the setting's name, with typed access,
// the defaults, loading and saving through the settings store, and three recent lists.
// One shared instance (gQuireonPrefs); the preferences sheet works on short-lived copies.
class QuireonPrefs
{
public:
    using Dictionary = QVariantMap;

    QuireonPrefs(); // holds every default; dirty
    virtual ~QuireonPrefs() = default;

    // A fresh object holding the defaults only, owned by the caller.
    static std::unique_ptr<QuireonPrefs> defaultPrefs();
    // Makes this the shared instance: defaults, then what the store holds.
    void awakeFromNib();

    void setDefaults();
    void loadPreferences();
    // Writes every key if anything changed. False when the store could not be written;
    // then the save-failure handler, if one is set, learns the settings file's name.
    bool savePreferences();
    using SaveFailureHandler = void (*)(const QString &fileName);
    static void setSaveFailureHandler(SaveFailureHandler handler);

    bool dirty() const { return m_dirty; }
    const Dictionary &prefsDic() const { return m_prefsDic; }
    bool hasValue(const QString &key) const { return m_prefsDic.contains(key); }

    // Typed access; the dictionary forms are what the short forms call.
    bool boolForKey(const QString &key) const { return boolForKey(key, m_prefsDic); }
    bool boolForKey(const QString &key, const Dictionary &dic) const;
    void setBool(bool value, const QString &key) { setBool(value, key, m_prefsDic); }
    void setBool(bool value, const QString &key, Dictionary &dic);

    int intForKey(const QString &key) const { return intForKey(key, m_prefsDic); }
    int intForKey(const QString &key, const Dictionary &dic) const;
    void setInt(int value, const QString &key) { setInt(value, key, m_prefsDic); }
    void setInt(int value, const QString &key, Dictionary &dic);

    quint32 unsignedLongForKey(const QString &key) const { return unsignedLongForKey(key, m_prefsDic); }
    quint32 unsignedLongForKey(const QString &key, const Dictionary &dic) const;
    void setUnsignedLong(quint32 value, const QString &key) { setUnsignedLong(value, key, m_prefsDic); }
    void setUnsignedLong(quint32 value, const QString &key, Dictionary &dic);

    float floatForKey(const QString &key) const { return floatForKey(key, m_prefsDic); }
    float floatForKey(const QString &key, const Dictionary &dic) const;
    void setFloat(float value, const QString &key) { setFloat(value, key, m_prefsDic); }
    void setFloat(float value, const QString &key, Dictionary &dic);

    double doubleForKey(const QString &key) const { return doubleForKey(key, m_prefsDic); }
    double doubleForKey(const QString &key, const Dictionary &dic) const;
    void setDouble(double value, const QString &key) { setDouble(value, key, m_prefsDic); }
    void setDouble(double value, const QString &key, Dictionary &dic);

    QColor colorForKey(const QString &key) const { return colorForKey(key, m_prefsDic); }
    QColor colorForKey(const QString &key, const Dictionary &dic) const;
    void setColor(const QColor &value, const QString &key) { setColor(value, key, m_prefsDic); }
    void setColor(const QColor &value, const QString &key, Dictionary &dic);

    // A null string is "no value"; storing one removes the key.
    QString stringForKey(const QString &key) const { return stringForKey(key, m_prefsDic); }
    QString stringForKey(const QString &key, const Dictionary &dic) const;
    void setString(const QString &value, const QString &key) { setString(value, key, m_prefsDic); }
    void setString(const QString &value, const QString &key, Dictionary &dic);

    // A list is absent when std::nullopt is stored; an empty list is a value.
    std::optional<QVariantList> arrayForKey(const QString &key) const { return arrayForKey(key, m_prefsDic); }
    std::optional<QVariantList> arrayForKey(const QString &key, const Dictionary &dic) const;
    void setArray(const std::optional<QVariantList> &value, const QString &key) { setArray(value, key, m_prefsDic); }
    void setArray(const std::optional<QVariantList> &value, const QString &key, Dictionary &dic);

    // Lists of strings and of numbers; an absent list reads as empty.
    QStringList stringListForKey(const QString &key) const;
    void setStringList(const QStringList &value, const QString &key);
    QList<int> intListForKey(const QString &key) const;
    void setIntList(const QList<int> &value, const QString &key);

    // Named accessors.
    QStringList cmdNameArray() const { return stringListForKey(Key::CommandNames); }
    void setCmdNameArray(const QStringList &v) { setStringList(v, Key::CommandNames); }
    QStringList cmdExtArray() const { return stringListForKey(Key::CommandExtensions); }
    void setCmdExtArray(const QStringList &v) { setStringList(v, Key::CommandExtensions); }
    QStringList cmdCmdArray() const { return stringListForKey(Key::CommandCommands); }
    void setCmdCmdArray(const QStringList &v) { setStringList(v, Key::CommandCommands); }
    QStringList openNameArray() const { return stringListForKey(Key::OpenNames); }
    void setOpenNameArray(const QStringList &v) { setStringList(v, Key::OpenNames); }
    QStringList openExtArray() const { return stringListForKey(Key::OpenExtensions); }
    void setOpenExtArray(const QStringList &v) { setStringList(v, Key::OpenExtensions); }
    QStringList outputExtArray() const { return stringListForKey(Key::OutputExtensions); }
    void setOutputExtArray(const QStringList &v) { setStringList(v, Key::OutputExtensions); }
    QList<int> procedureArray() const { return intListForKey(Key::AutoProcedures); }
    void setProcedureArray(const QList<int> &v) { setIntList(v, Key::AutoProcedures); }
    QStringList errorStrArray() const { return stringListForKey(Key::ErrorStrings); }
    void setErrorStrArray(const QStringList &v) { setStringList(v, Key::ErrorStrings); }
    QStringList warningStrArray() const { return stringListForKey(Key::WarningStrings); }
    void setWarningStrArray(const QStringList &v) { setStringList(v, Key::WarningStrings); }
    QStringList noteStrArray() const { return stringListForKey(Key::NoteStrings); }
    void setNoteStrArray(const QStringList &v) { setStringList(v, Key::NoteStrings); }
    QStringList pageStrArray() const { return stringListForKey(Key::PageStrings); }
    void setPageStrArray(const QStringList &v) { setStringList(v, Key::PageStrings); }
    int interval() const { return intForKey(Key::CheckInterval); }
    void setInterval(int v) { setInt(v, Key::CheckInterval); }
    int startupChoice() const { return intForKey(Key::StartupChoice); }
    void setStartupChoice(int v) { setInt(v, Key::StartupChoice); }
    bool checkErrors() const { return boolForKey(Key::CheckErrors); }
    void setCheckErrors(bool v) { setBool(v, Key::CheckErrors); }
    bool checkWarnings() const { return boolForKey(Key::CheckWarnings); }
    void setCheckWarnings(bool v) { setBool(v, Key::CheckWarnings); }
    bool checkNotes() const { return boolForKey(Key::CheckNotes); }
    void setCheckNotes(bool v) { setBool(v, Key::CheckNotes); }
    bool checkPages() const { return boolForKey(Key::CheckPages); }
    void setCheckPages(bool v) { setBool(v, Key::CheckPages); }
    QColor errorColor() const { return colorForKey(Key::ErrorColor); }
    void setErrorColor(const QColor &v) { setColor(v, Key::ErrorColor); }
    QColor warningColor() const { return colorForKey(Key::WarningColor); }
    void setWarningColor(const QColor &v) { setColor(v, Key::WarningColor); }
    QColor noteColor() const { return colorForKey(Key::NoteColor); }
    void setNoteColor(const QColor &v) { setColor(v, Key::NoteColor); }
    quint32 logEncoding() const { return unsignedLongForKey(Key::LogEncoding); }
    void setLogEncoding(quint32 v) { setUnsignedLong(v, Key::LogEncoding); }
    QString lastOpenedDocument() const { return stringForKey(Key::LastOpenedFile); }
    void setLastOpenedDocument(const QString &v) { setString(v, Key::LastOpenedFile); }
    bool floatingWindow() const { return boolForKey(Key::FloatingWindow); }
    void setFloatingWindow(bool v) { setBool(v, Key::FloatingWindow); }
    int windowContents() const { return intForKey(Key::WindowContents); }
    void setWindowContents(int v) { setInt(v, Key::WindowContents); }
    float windowTransparency() const { return floatForKey(Key::WindowTransparency); }
    void setWindowTransparency(float v) { setFloat(v, Key::WindowTransparency); }
    float logDisplayTime() const { return floatForKey(Key::LogDisplayTime); }
    void setLogDisplayTime(float v) { setFloat(v, Key::LogDisplayTime); }
    bool autoFloating() const { return boolForKey(Key::AutoExpandFloatingWindow); }
    void setAutoFloating(bool v) { setBool(v, Key::AutoExpandFloatingWindow); }
    int autoFloatingContents() const { return intForKey(Key::AutoExpandFloatingContents); }
    void setAutoFloatingContents(int v) { setInt(v, Key::AutoExpandFloatingContents); }
    QStringList templateArray() const { return stringListForKey(Key::RecentTemplates); }
    void setTemplateArray(const std::optional<QStringList> &v) { setOptionalList(v, Key::RecentTemplates); }
    QStringList symLinkArray() const { return stringListForKey(Key::RecentSymbolicLinks); }
    void setSymLinkArray(const std::optional<QStringList> &v) { setOptionalList(v, Key::RecentSymbolicLinks); }
    QStringList folderNameArray() const { return stringListForKey(Key::RecentFolderNames); }
    void setFolderNameArray(const std::optional<QStringList> &v) { setOptionalList(v, Key::RecentFolderNames); }
    int numberOfRecentTemplates() const { return intForKey(Key::NumberOfRecentItems); }
    void setNumberOfRecentTemplates(int v) { setInt(v, Key::NumberOfRecentItems); }
    bool checkCreateFolderAlias() const { return boolForKey(Key::CreateFolderAlias); }
    void setCheckCreateFolderAlias(bool v) { setBool(v, Key::CreateFolderAlias); }
    bool checkCreateExtraFolder() const { return boolForKey(Key::CreateExtraFolder); }
    void setCheckCreateExtraFolder(bool v) { setBool(v, Key::CreateExtraFolder); }
    bool checkCreateSymLink() const { return boolForKey(Key::CreateSymbolicLink); }
    void setCheckCreateSymLink(bool v) { setBool(v, Key::CreateSymbolicLink); }
    QString taskInputString() const { return stringForKey(Key::TaskInputString); }
    void setTaskInputString(const QString &v) { setString(v, Key::TaskInputString); }
    bool notifyInBackground() const { return boolForKey(Key::NotifyInBackground); }
    void setNotifyInBackground(bool v) { setBool(v, Key::NotifyInBackground); }
    // "%f" the file, "%l" the line; empty: the desktop's handler opens the file.
    QString editorCommand() const { return stringForKey(Key::EditorCommand); }
    void setEditorCommand(const QString &v) { setString(v, Key::EditorCommand); }
    bool followInputs() const { return boolForKey(Key::FollowIncludedFiles); }
    void setFollowInputs(bool v) { setBool(v, Key::FollowIncludedFiles); }
    bool onlyStepsWithWork() const { return boolForKey(Key::OnlyStepsWithWork); }
    void setOnlyStepsWithWork(bool v) { setBool(v, Key::OnlyStepsWithWork); }
    // True: auto mode runs the steps the document needs; false: the procedure.
    bool automaticSteps() const { return boolForKey(Key::AutomaticSteps); }
    void setAutomaticSteps(bool v) { setBool(v, Key::AutomaticSteps); }

    // Indexed accessors: index 0 to 4 is the button number less one. An index outside
    // the stored list reads as an empty string.
    QString cmdNameAtIndex(int i) const { return entryAt(Key::CommandNames, i); }
    QString cmdExtAtIndex(int i) const { return entryAt(Key::CommandExtensions, i); }
    QString cmdCmdAtIndex(int i) const { return entryAt(Key::CommandCommands, i); }
    QString openNameAtIndex(int i) const { return entryAt(Key::OpenNames, i); }
    QString openExtAtIndex(int i) const { return entryAt(Key::OpenExtensions, i); }
    // Step code of step 0 to 7: 1..5 run that command, -1..-5 open that output, 0 empty.
    int procedureAtIndex(int step) const;
    QString rootType() const { return cmdExtAtIndex(0); }

    // Recent lists: most recent first, no duplicates, capped by "Number of Recent Items".
    void appendTemplateFile(const QString &path) { appendRecent(path, Key::RecentTemplates); }
    void appendSymLinkFile(const QString &path) { appendRecent(path, Key::RecentSymbolicLinks); }
    void appendFolderName(const QString &name) { appendRecent(name, Key::RecentFolderNames); }
    void clearAllTemplates() { setArray(std::nullopt, Key::RecentTemplates); }
    void clearAllSymLinks() { setArray(std::nullopt, Key::RecentSymbolicLinks); }
    void clearAllFolderNames() { setArray(std::nullopt, Key::RecentFolderNames); }
    void validateTemplates(); // keeps regular files only
    void validateSymLinks();  // keeps anything that exists

private:
    QString entryAt(const QString &key, int index) const;
    void appendRecent(const QString &entry, const QString &key);
    void setOptionalList(const std::optional<QStringList> &value, const QString &key);
    template <typename Keep> void validateRecent(const QString &key, Keep keep);

    Dictionary m_prefsDic;
    bool m_dirty = false;
};

// The shared settings object of the running application.
extern QuireonPrefs *gQuireonPrefs;
