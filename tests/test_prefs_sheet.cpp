// The preferences sheet and the log strings sheet on it: filling, editing, validating,
// applying and cancelling.
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "platform/settingsfailure.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"
#include "settings/sheets/colorwell.h"
#include "settings/sheets/prefscontroller.h"
#include "settings/sheets/stringlistmodel.h"
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

class TestPrefsSheet : public QObject {
    Q_OBJECT

    std::unique_ptr<QuireonPrefs> shared; // loaded from the store, as the application's
    std::unique_ptr<PrefsController> controller;
    std::unique_ptr<QWidget> window;
    std::unique_ptr<QSignalSpy> notified;

    QDialog *sheet() const { return controller->sheet(); }
    QDialog *strings() const { return controller->stringSheet(); }
    // The string sheet is a child of the preferences sheet, so its controls are found too.
    template <typename T> T *control(const QString &n) const { return sheet()->findChild<T *>(n); }
    bool open() {
        controller->openPreferences(window.get());
        return sheet() && QTest::qWaitForWindowExposed(sheet());
    }
    bool openStrings() {
        controller->editStrings();
        return strings() && QTest::qWaitForWindowExposed(strings());
    }
    QAbstractItemModel *table(const char *n) { return control<QTableView>(n)->model(); }
    // The rows of a string table, the trailing empty row included.
    QStringList rows(const char *name) {
        QStringList out;
        for (int row = 0; row < table(name)->rowCount(); ++row)
            out << table(name)->index(row, 0).data().toString();
        return out;
    }
    // Types text into a row as the table's editor would.
    bool setRow(const char *name, int row, const QString &text) {
        return table(name)->setData(table(name)->index(row, 0), text, Qt::EditRole);
    }
    // What the store holds, as the next launch would see it.
    struct Reloaded : QuireonPrefs { Reloaded() { setDefaults(); loadPreferences(); } };

    QComboBox *proc(int n) const { return control<QComboBox>(QString("proc%1").arg(n)); }
    QLineEdit *pageString(int n) const { return control<QLineEdit>(QString("pageString%1").arg(n)); }
    void setText(const char *f, const QString &text) { control<QLineEdit>(f)->setText(text); }
    void click(const char *button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void closeStrings(const char *button = "stringsOkButton") {
        click(button);
        QTRY_VERIFY(!strings()->isVisible());
    }
    // Saves what the shared settings hold and opens the sheet on it afresh.
    void reopenOnSaved() {
        controller->prefsCanceled();
        QVERIFY(shared->savePreferences());
        QVERIFY(open());
    }

private slots:
    void initTestCase() {
        Text::installTable();
        // Sorting follows the user's language; the tests run in the C locale otherwise.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init() {
        TestSupport::freshSettings();
        Alerts::clearShown();
        shared = std::make_unique<QuireonPrefs>();
        shared->awakeFromNib();
        controller = std::make_unique<PrefsController>();
        window = std::make_unique<QWidget>();
        window->show();
        notified = std::make_unique<QSignalSpy>(NotificationCenter::defaultCenter(),
                                                &NotificationCenter::notified);
        QVERIFY(open());
    }
    void cleanup() {
        window.reset(); // drops a sheet still up
        controller.reset();
        gQuireonPrefs = nullptr;
    }

    void intervalIsValidated_data() {
        TestSupport::columns<QString, int>({"typed", "stored"}); // stored 0: refused
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("too long for a timer") << "99999999999" << 0;
        QTest::newRow("fraction") << "2.9" << 2;
        QTest::newRow("leading blank") << " 5" << 5;
        QTest::newRow("largest") << "2147483" << 2147483;
    }
    void intervalIsValidated() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        setText("interval", typed);
        if (stored == 0)
            Alerts::setNextAnswer(Alerts::DefaultReturn);
        click("okButton");
        QCOMPARE(Alerts::shown().size(), stored ? 0 : 1);
        QCOMPARE(shared->interval(), stored ? stored : 2);
        QCOMPARE(sheet() && sheet()->isVisible(), stored == 0); // a refusal leaves it up
    }

    // The string sheet's OK keeps its edits, the colour picked in the well's dialog among
    // them, in the working copy; its Escape brings back what it showed when it opened.
    // Neither those edits nor a revert survive Cancel or Escape of the preferences sheet:
    // nothing is applied or announced.
    void cancelThrowsAwayTheEditsOfBothSheets_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape key") << true;
    }
    void cancelThrowsAwayTheEditsOfBothSheets() {
        const QuireonPrefs::Dictionary before = shared->prefsDic();
        setText("cmdName1", "Changed");
        QVERIFY(openStrings());
        pageString(2)->setText("Output written (%n pages)");
        QTest::mouseClick(control<ColorWell>("errorColor"), Qt::LeftButton);
        auto *panel = strings()->findChild<QColorDialog *>("colorPanel");
        QTRY_VERIFY(panel && panel->isVisible());
        QCOMPARE(panel->currentColor(), QColor(Qt::red));
        panel->setCurrentColor(QColor(10, 20, 30));
        panel->accept();
        QVERIFY(setRow("errorStringTable", 6, "Fatal"));
        closeStrings();
        const QStringList accepted = rows("errorStringTable");

        QVERIFY(openStrings());
        pageString(2)->setText("lost");
        control<ColorWell>("errorColor")->setColor(Qt::cyan);
        QVERIFY(setRow("errorStringTable", 0, "lost") && setRow("errorStringTable", 7, "lost"));
        QTest::keyClick(strings(), Qt::Key_Escape);
        QTRY_VERIFY(!strings()->isVisible());
        QVERIFY(sheet()->isVisible());
        QCOMPARE(pageString(2)->text(), QStringLiteral("Output written (%n pages)"));
        QCOMPARE(control<ColorWell>("errorColor")->color(), QColor(10, 20, 30));
        QCOMPARE(rows("errorStringTable"), accepted);

        QFETCH(bool, escape);
        if (escape) {
            QTest::keyClick(sheet(), Qt::Key_Escape);
        } else {
            controller->revertToDefauts();
            click("cancelButton");
        }
        QTRY_VERIFY(!sheet());
        QCOMPARE(shared->prefsDic(), before);
        QCOMPARE(notified->count(), 0);
    }

    // Every setting away from its default; Revert then OK must bring back the defaults of
    // the keys the sheets show, every control filled and read back, and leave the others.
    void revertThenOkStoresTheDefaultsOfTheSheetsOnly() {
        QuireonPrefs &p = *shared;
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant v = p.prefsDic().value(info.key);
            if (info.kind == PrefKind::Bool)
                p.setBool(!v.toBool(), info.key);
            else if (info.kind == PrefKind::Int)
                p.setInt(v.toInt() + 1, info.key);
            else if (info.kind == PrefKind::UnsignedLong)
                p.setUnsignedLong(4, info.key);
            else if (info.kind == PrefKind::Float)
                p.setFloat(0.5f, info.key);
            else if (info.kind == PrefKind::Color)
                p.setColor(Qt::yellow, info.key);
            else if (info.kind == PrefKind::String)
                p.setString(QStringLiteral("/tmp/x"), info.key);
            else if (info.kind == PrefKind::StringList)
                p.setStringList({"x"}, info.key);
            else
                p.setIntList({3, 4, 5, 6, 8, 9, 10, 11}, info.key);
        }
        const QuireonPrefs::Dictionary customised = p.prefsDic();
        reopenOnSaved();
        controller->revertToDefauts();
        click("okButton");

        // The string tables come back sorted.
        QuireonPrefs defaults;
        for (const QString &key : {Key::ErrorStrings, Key::WarningStrings, Key::NoteStrings}) {
            QStringList list = defaults.stringListForKey(key);
            sortStringArray(list);
            defaults.setStringList(list, key);
        }
        const QStringList notOnTheSheets = {
            Key::LastOpenedFile, Key::LogDisplayTime, Key::AutoExpandFloatingWindow,
            Key::AutoExpandFloatingContents, Key::RecentTemplates, Key::RecentSymbolicLinks,
            Key::RecentFolderNames, Key::NumberOfRecentItems, Key::CreateFolderAlias,
            Key::CreateExtraFolder, Key::CreateSymbolicLink, Key::TaskInputString};
        const Reloaded stored;
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant expected = notOnTheSheets.contains(info.key)
                                          ? customised.value(info.key)
                                          : defaults.prefsDic().value(info.key);
            QCOMPARE(stored.prefsDic().value(info.key), expected);
        }
        QCOMPARE(notified->count(), 1);
        QCOMPARE(notified->constLast().at(0).toString(), kPrefsChangedNotification);
    }

    // The pop-ups and the string sheet's headings follow unsaved names.
    // A new user has the automatic steps, under which the procedure and its "only the
    // steps that have work" stay in view, disabled. Under the chosen steps, every step
    // after the first empty one is disabled. The procedure edited under either choice,
    // disabled pop-ups included, is saved with the choice.
    void procedureFollowsTheNamesAndTheChoiceOfSteps() {
        setText("cmdName2", "XeLaTeX");
        setText("openName5", "Word count");
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->itemText(3), QStringLiteral("XeLaTeX"));
            QCOMPARE(proc(step)->itemText(12), QStringLiteral("Word count"));
        }
        QVERIFY(openStrings() && control<QLabel>("pageHeader2")->text().contains("XeLaTeX"));
        closeStrings("stringsCancelButton");
        controller->revertToDefauts();
        QCOMPARE(proc(5)->itemText(3), Text::localized("cmdName2"));

        control<QTabWidget>("prefsTabs")->setCurrentWidget(control<QWidget>("tabProcedure"));
        auto *onlyWithWork = control<QCheckBox>("checkOnlyStepsWithWork");
        for (QWidget *w : {static_cast<QWidget *>(proc(1)), static_cast<QWidget *>(onlyWithWork)})
            QVERIFY(w->isVisible() && !w->isEnabled());
        control<QRadioButton>("radioProcedureSteps")->click();
        QVERIFY(onlyWithWork->isEnabled());
        proc(1)->setCurrentIndex(2);
        proc(2)->setCurrentIndex(4);
        proc(3)->setCurrentIndex(0);
        proc(4)->setCurrentIndex(9);
        proc(8)->setCurrentIndex(12);
        for (int step = 1; step <= 8; ++step)
            QCOMPARE(proc(step)->isEnabled(), step <= 3);
        click("okButton");
        QCOMPARE(shared->procedureArray(), QList<int>({2, 4, 0, 9, 0, 0, 0, 12}));
        QVERIFY(!Reloaded().automaticSteps());

        // Stored values at the edges of the command and open ranges: a separator, a value
        // past the last item and a missing entry show the empty step, which disables the rest.
        shared->setProcedureArray({6, 8, 12, 13, 7, -4, 2});
        reopenOnSaved();
        const QList<int> shown{6, 8, 12, 0, 0, 0, 2, 0};
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->currentIndex(), shown[step - 1]);
            QCOMPARE(proc(step)->isEnabled(), step <= 4);
        }
        control<QRadioButton>("radioAutomaticSteps")->click();
        QVERIFY(!proc(1)->isEnabled() && !control<QCheckBox>("checkOnlyStepsWithWork")->isEnabled());
        proc(5)->setCurrentIndex(3);
        click("okButton");
        const Reloaded stored;
        QVERIFY(stored.automaticSteps());
        QCOMPARE(stored.procedureArray(), QList<int>({6, 8, 12, 0, 3, 0, 2, 0}));
    }

    // A startup choice that no cell stands for shows as the cell tagged 0 (open nothing);
    // an encoding this system lacks shows no item and is kept, not turned into 0. The
    // floating window's controls follow its check box and are saved even when disabled.
    void choicesEncodingFloatingAndFieldsRoundTrip() {
        shared->setStartupChoice(7);
        shared->setLogEncoding(999999);
        reopenOnSaved();
        QVERIFY(control<QRadioButton>("openChoiceNothing")->isChecked());
        QCOMPARE(control<QComboBox>("logEncoding")->currentIndex(), -1);
        auto *floating = control<QCheckBox>("checkFloating");
        auto *contents = control<QComboBox>("popupWindowContents");
        auto *slider = control<QSlider>("sliderTransparency");
        QVERIFY(floating->isChecked() && contents->isEnabled() && slider->isEnabled());
        QTest::mouseClick(floating, Qt::LeftButton);
        QVERIFY(!contents->isEnabled() && !slider->isEnabled());
        contents->setCurrentIndex(3);
        control<QRadioButton>("openChoicePanel")->click();
        setText("cmdCmd3", "/usr/bin/biber %1");
        setText("outputExt05", "");
        click("okButton");
        const Reloaded stored;
        QVERIFY(!stored.floatingWindow() && stored.windowContents() == 3);
        QVERIFY(stored.startupChoice() == 1 && stored.logEncoding() == 999999u);
        QCOMPARE(stored.cmdCmdAtIndex(2), QStringLiteral("/usr/bin/biber %1"));
        QVERIFY(stored.outputExtArray().size() == 12 && stored.outputExtArray().at(4).isEmpty());
    }

    // The sheet is window-modal and raised, not refilled, when asked again; without a
    // window it is application-modal. Closing its window drops it; it opens again afresh.
    void sheetIsModalOpensOnceAndGoesWithItsWindow() {
        QDialog *first = sheet();
        QCOMPARE(first->windowModality(), Qt::WindowModal);
        setText("cmdName1", "Unsaved");
        controller->openPreferences(nullptr);
        QVERIFY(sheet() == first && control<QLineEdit>("cmdName1")->text() == "Unsaved");
        controller->prefsCanceled();

        PrefsController alone;
        alone.openPreferences(nullptr);
        QVERIFY(alone.sheet() && alone.sheet()->isVisible());
        QCOMPARE(alone.sheet()->windowModality(), Qt::ApplicationModal);
        alone.prefsCanceled();

        auto *parent = new QWidget;
        parent->show();
        controller->openPreferences(parent);
        delete parent;
        QVERIFY(!sheet() && !controller->currentPrefs());
        QVERIFY(open());
    }

    // The new settings are in use though they could not be saved; the sheet says so in
    // its own words, and the store's own report stays quiet.
    void aStoreThatCannotBeWrittenIsReported() {
        const QString file = SettingsStore().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file)); // a folder where the file should go
        setText("cmdName1", "Kept in memory");
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        click("okButton");
        QCOMPARE(shared->cmdNameAtIndex(0), QStringLiteral("Kept in memory"));
        QCOMPARE(notified->count(), 1);
        QCOMPARE(Alerts::shown().size(), 1);
        QVERIFY(Alerts::shown().at(0).message.contains(file));
        QVERIFY(SettingsFailure::told());
    }

    // The tables show the lists sorted with an empty last row; typing there appends, and
    // accepting drops blanked rows, keeps duplicates and sorts by the user's language, case
    // aside.
    void editedRowsAreCleanedAndSortedWhenAccepted() {
        QVERIFY(openStrings());
        const QStringList notes{"LaTeX Font Warning:", "No file ", "Overfull", "Underfull"};
        QCOMPARE(rows("noteStringTable"), notes + QStringList{""});
        QVERIFY(setRow("noteStringTable", 4, "Underfull"));
        QVERIFY(!setRow("noteStringTable", 5, "")); // the new empty row left alone adds nothing
        QVERIFY(setRow("noteStringTable", 0, "\u00e9t\u00e9"));
        QVERIFY(setRow("noteStringTable", 2, " \t\n")); // "Overfull" blanked out
        QVERIFY(setRow("noteStringTable", 5, "b note "));
        // Only an edit changes a row; a view asking to set what it shows changes nothing.
        QAbstractItemModel *notesModel = table("noteStringTable");
        QVERIFY(!notesModel->setData(notesModel->index(1, 0), "shown", Qt::DisplayRole));
        closeStrings();
        click("okButton");
        QCOMPARE(shared->noteStrArray(),
                 QStringList({"b note ", "\u00e9t\u00e9", "No file ", "Underfull", "Underfull"}));
    }
};

QTEST_MAIN(TestPrefsSheet)
#include "test_prefs_sheet.moc"
