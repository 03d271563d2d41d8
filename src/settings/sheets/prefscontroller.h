#pragma once

#include <QDialog>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <memory>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QWidget;
class LogStringsController;
class QuireonPrefs;
namespace Ui {
class PrefsSheet;
}

// Runs the preferences sheet and, on top of it, the log strings sheet. The sheets show a
// working copy of the saved settings; OK writes the controls into gQuireonPrefs, saves
// it and posts kPrefsChangedNotification. Cancel changes nothing.
class PrefsController : public QObject
{
    Q_OBJECT
public:
    explicit PrefsController(QObject *parent = nullptr);
    ~PrefsController() override;

    // Opens the sheet window-modal to parentWindow (application-modal without one). While
    // the sheet is open, a second call only brings it to the front.
    void openPreferences(QWidget *parentWindow);
    // End handler of the sheet: 1 applies the controls, 0 only closes.
    void didPrefsSheet(int returnCode);
    // End handler of the log strings sheet: 1 keeps its values in the working copy, 0
    // reloads it from the working copy.
    void didStringsSheet(int returnCode);

    // The open sheets and the working copy; null while the preferences sheet is closed.
    QDialog *sheet() const { return m_sheet; }
    QDialog *stringSheet() const;
    QuireonPrefs *currentPrefs() const { return m_currentPrefs.get(); }

    bool validatePrefs();
    void showValidationFailed(const QString &message);
    void setControlValuesFrom(const QuireonPrefs &prefs);
    void getControlValuesTo(QuireonPrefs &prefs) const;
    void setStringValuesFrom(const QuireonPrefs &prefs);
    void getStringValuesTo(QuireonPrefs &prefs);
    void setMenuItemsFromFields(QComboBox *popup);
    quint32 encodingOfName(const QString &name) const;
    static QString nameOfEncoding(quint32 encoding);

public slots:
    void prefsOk();
    void prefsCanceled();
    void revertToDefauts();
    void editStrings();
    void namesChanged();
    void procChanged();
    void stepsChoiceChanged();
    void floatingChanged();

private:
    void buildSheet(QWidget *parentWindow);
    void buildFieldLists();
    void buildPopups();
    void connectControls();
    void showSheet(QWidget *parentWindow);
    void closeSheet();
    void dropSession();
    void applyToSharedPrefs();
    void selectOpenChoice(int value);
    int selectedOpenChoice() const;

    QPointer<QDialog> m_sheet;
    std::unique_ptr<Ui::PrefsSheet> m_ui;
    std::unique_ptr<LogStringsController> m_strings;
    QButtonGroup *m_openChoice = nullptr;

    QList<QLineEdit *> m_cmdNameFields;
    QList<QLineEdit *> m_cmdExtFields;
    QList<QLineEdit *> m_cmdCmdFields;
    QList<QLineEdit *> m_openNameFields;
    QList<QLineEdit *> m_openExtFields;
    QList<QLineEdit *> m_outExtFields;
    QList<QComboBox *> m_procMenus;

    QMap<QString, quint32> m_encodingList;
    QStringList m_sortedEncodingNames;

    std::unique_ptr<QuireonPrefs> m_currentPrefs;
};
