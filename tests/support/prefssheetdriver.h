#pragma once

#include "settings/quireonprefs.h"
#include "settings/sheets/prefscontroller.h"

#include <QAbstractItemModel>
#include <QDialog>
#include <QTableView>
#include <memory>

// Sets up a shared settings object and a preferences controller for a test, and finds the
// sheets' controls by name.
class PrefsSheetDriver
{
public:
    PrefsSheetDriver(); // a fresh shared settings object loaded from the store
    ~PrefsSheetDriver();

    QuireonPrefs &shared() { return *m_shared; }
    PrefsController &controller() { return m_controller; }
    QDialog *sheet() const { return m_controller.sheet(); }
    QDialog *stringSheet() const { return m_controller.stringSheet(); }

    // Opens the preferences sheet on the driver's window and waits until it shows.
    bool open();
    // Opens the log strings sheet on top of it and waits until it shows.
    bool openStrings();

    template <typename T> T *control(const char *name) const
    {
        return sheet() ? sheet()->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }
    template <typename T> T *stringsControl(const char *name) const
    {
        return stringSheet() ? stringSheet()->findChild<T *>(QString::fromLatin1(name)) : nullptr;
    }
    // The model of errorStringTable, warningStringTable or noteStringTable.
    QAbstractItemModel *table(const char *name) const;
    // The rows of a table, the trailing empty row included.
    QStringList rows(const char *table) const;
    // Types text into a row as the table's editor would.
    bool setRow(const char *table, int row, const QString &text);

    // The settings file's bytes, to see that nothing wrote it.
    static QByteArray storeBytes();
    // A settings object holding what the store holds, as the next launch would see it.
    static std::unique_ptr<QuireonPrefs> reloaded();

private:
    std::unique_ptr<QuireonPrefs> m_shared;
    PrefsController m_controller;
    std::unique_ptr<QWidget> m_window;
};
