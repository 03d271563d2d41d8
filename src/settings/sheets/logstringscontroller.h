#pragma once

#include <QDialog>
#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class QLabel;
class QLineEdit;
class QTableView;
class QWidget;
class QuireonPrefs;
class StringListModel;
namespace Ui {
class LogStringsSheet;
}

// The log strings sheet: the three prefix lists, their colours and the five page-report
// patterns. It lives on top of the preferences sheet, which decides what the sheet's
// answers do to the working copy (finished()).
class LogStringsController : public QObject
{
    Q_OBJECT
public:
    explicit LogStringsController(QWidget *prefsSheet);
    ~LogStringsController() override;

    QDialog *sheet() const { return m_sheet; }

    // Titles the page headings with the command names as they stand in the preferences
    // sheet, then shows the sheet window-modal to it.
    void editStrings(const QStringList &commandNames);
    void setStringValuesFrom(const QuireonPrefs &prefs);
    // Cleans the edited lists, then writes page strings, colours and lists.
    void getStringValuesTo(QuireonPrefs &prefs);
    bool validateStrings() const { return true; }
    void deselectAll();
    void selectFirstTab();

public slots:
    void stringsOk();
    void stringsCanceled();

signals:
    void finished(int returnCode);

private:
    QList<QTableView *> tables() const;

    QPointer<QDialog> m_sheet;
    std::unique_ptr<Ui::LogStringsSheet> m_ui;
    QList<QLineEdit *> m_pageFields;
    QList<QLabel *> m_pageHeaderFields;
    StringListModel *m_errorStrings;
    StringListModel *m_warningStrings;
    StringListModel *m_noteStrings;
};
