// The preferences sheet and the log strings sheet on it: filling, editing, validating,
// applying and cancelling.
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "platform/settingsfailure.h"
#include "settings/buildsettingsread.h"
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
    template <typename T> T *control(const QString &n) const { return sheet()->findChild<T *>(n); }
    template <typename T> T *stringsControl(const QString &n) const {
        return strings()->findChild<T *>(n);
    }
    bool open() {
        controller->openPreferences(window.get());
        return sheet() && QTest::qWaitForWindowExposed(sheet());
    }
    bool openStrings() {
        controller->editStrings();
        return strings() && QTest::qWaitForWindowExposed(strings());
    }
    QAbstractItemModel *table(const char *n) { return stringsControl<QTableView>(n)->model(); }
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
    static QByteArray storeBytes() {
        QFile file(SettingsStore().fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // What the store holds, as the next launch would see it.
    struct Reloaded : QuireonPrefs { Reloaded() { setDefaults(); loadPreferences(); } };

    QComboBox *proc(int n) const { return control<QComboBox>(QString("proc%1").arg(n)); }
    QString text(const char *field) const { return control<QLineEdit>(field)->text(); }
    void setText(const char *f, const QString &text) { control<QLineEdit>(f)->setText(text); }
    // A radio button takes clicks on its circle and its text only, not the row beyond.
    static void choose(QRadioButton *cell) {
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(6, cell->height() / 2));
    }
    void clickOk() { QTest::mouseClick(control<QPushButton>("okButton"), Qt::LeftButton); }
    void closeStrings(const char *button = "stringsOkButton") {
        QTest::mouseClick(stringsControl<QPushButton>(button), Qt::LeftButton);
        QTRY_VERIFY(!strings()->isVisible());
    }
    QLineEdit *pageString(int n) const {
        return stringsControl<QLineEdit>(QString("pageString%1").arg(n));
    }
    ColorWell *well(const char *name) const { return stringsControl<ColorWell>(name); }
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
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("too long for a timer") << "99999999999" << 0;
        QTest::newRow("fraction") << "2.9" << 2;
        QTest::newRow("leading blank") << " 5" << 5;
        QTest::newRow("largest") << "2147483" << 2147483;
    }
    void intervalIsValidated() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        const QByteArray storeBefore = storeBytes();
        setText("cmdName1", "Edited");
        setText("interval", typed);
        if (stored == 0)
            Alerts::setNextAnswer(Alerts::DefaultReturn);
        clickOk();
        QCOMPARE(Alerts::shown().size(), stored ? 0 : 1);
        QCOMPARE(notified->count(), stored ? 1 : 0);
        QCOMPARE(shared->interval(), stored ? stored : 2);
        QCOMPARE(sheet() != nullptr, stored == 0);
        if (stored == 0) { // the sheet stays up as it was, and nothing is written
            QVERIFY(sheet()->isVisible());
            QCOMPARE(text("interval") + text("cmdName1"), typed + "Edited");
            QCOMPARE(storeBytes(), storeBefore);
        }
    }

    // Neither the sheet's edits, nor accepted log strings, nor a revert survive Cancel or
    // Escape: nothing is applied, saved or announced, and the next opening shows the store.
    void cancelChangesNothing_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape key") << true;
    }
    void cancelChangesNothing() {
        QFETCH(bool, escape);
        const QuireonPrefs::Dictionary before = shared->prefsDic();
        const QByteArray storeBefore = storeBytes();
        setText("cmdName1", "Changed");
        QVERIFY(openStrings());
        QVERIFY(setRow("errorStringTable", 0, "New error"));
        pageString(1)->setText("");
        closeStrings();
        if (escape) {
            QTest::keyClick(sheet(), Qt::Key_Escape);
        } else {
            controller->revertToDefauts();
            QTest::mouseClick(control<QPushButton>("cancelButton"), Qt::LeftButton);
        }
        QTRY_VERIFY(!sheet());
        QCOMPARE(shared->prefsDic(), before);
        QCOMPARE(storeBytes(), storeBefore);
        QCOMPARE(notified->count(), 0);
        QVERIFY(open() && openStrings());
        QVERIFY(!rows("errorStringTable").contains("New error"));
        QCOMPARE(pageString(1)->text(), shared->pageStrArray().at(0));
    }

    // Every setting away from its default; Revert then OK must bring back the defaults of
    // the keys the sheets show, every control filled and read back, and leave the others.
    void revertThenOkStoresTheDefaultsOfTheSheetsOnly() {
        QuireonPrefs &p = *shared;
        const QuireonPrefs::Dictionary initial = QuireonPrefs().prefsDic();
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
            QVERIFY2(p.prefsDic().value(info.key) != initial.value(info.key), qPrintable(info.key));
        }
        const QuireonPrefs::Dictionary customised = p.prefsDic();
        reopenOnSaved();
        // The stored lists are shorter: the second name and its pop-up item are empty.
        const QStringList shown{text("cmdName1"), text("cmdName2"), proc(1)->itemText(3),
                                text("editorCommand"), text("interval")};
        QCOMPARE(shown, QStringList({"x", "", "", "/tmp/x", "3"}));
        for (const char *box :
             {"checkErrors", "checkWarnings", "checkNotes", "checkPages", "checkFloating",
              "checkNotifyInBackground", "checkFollowInputs", "checkOnlyStepsWithWork"})
            QVERIFY2(!control<QCheckBox>(box)->isChecked(), box);
        controller->revertToDefauts();
        clickOk();

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
            QCOMPARE(p.prefsDic().value(info.key), expected);
            QCOMPARE(stored.prefsDic().value(info.key), expected);
        }
        QCOMPARE(notified->count(), 1);
    }

    // The pop-ups and the string sheet's headings (opened before) follow unsaved names.
    void procedurePopupsFollowTheNamesAndEnableInTurn() {
        QVERIFY(openStrings());
        closeStrings("stringsCancelButton");
        setText("cmdName2", "XeLaTeX");
        setText("openName5", "Word count");
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->itemText(3), QStringLiteral("XeLaTeX"));
            QCOMPARE(proc(step)->itemText(12), QStringLiteral("Word count"));
            QCOMPARE(proc(step)->itemText(2), shared->cmdNameAtIndex(0));
        }
        QVERIFY(openStrings() && stringsControl<QLabel>("pageHeader2")->text().contains("XeLaTeX"));
        closeStrings("stringsCancelButton");
        controller->revertToDefauts();
        QCOMPARE(proc(5)->itemText(3), Text::localized("cmdName2"));

        // Defaults: step 1 runs command 1, so only steps 1 and 2 can be chosen.
        control<QTabWidget>("prefsTabs")->setCurrentWidget(control<QWidget>("tabProcedure"));
        choose(control<QRadioButton>("radioProcedureSteps"));
        QVERIFY(proc(1)->isEnabled() && proc(2)->isEnabled() && !proc(3)->isEnabled());

        proc(1)->setCurrentIndex(2);
        proc(2)->setCurrentIndex(4);
        proc(3)->setCurrentIndex(0);
        proc(4)->setCurrentIndex(9); // disabled, but still saved
        proc(8)->setCurrentIndex(12);
        for (int step = 1; step <= 8; ++step)
            QCOMPARE(proc(step)->isEnabled(), step <= 3);
        clickOk();
        QCOMPARE(shared->procedureArray(), QList<int>({2, 4, 0, 9, 0, 0, 0, 12}));
        QCOMPARE(Reloaded().prefsDic(), shared->prefsDic());
        QCOMPARE(notified->count(), 1);
        QCOMPARE(notified->constLast().at(0).toString(), kPrefsChangedNotification);
        QCOMPARE(notified->constLast().at(1).value<QObject *>(), controller.get()); // the sender

        // Stored values at the edges of the command and open ranges: a separator, a value
        // past the last item and a missing entry show the empty step, which disables the rest.
        shared->setProcedureArray({6, 8, 12, 13, 7, -4, 2});
        reopenOnSaved();
        const QList<int> shown{6, 8, 12, 0, 0, 0, 2, 0};
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->currentIndex(), shown[step - 1]);
            QCOMPARE(proc(step)->isEnabled(), step <= 4);
        }
    }

    // The choice of steps: a new user starts with the automatic steps, under which the
    // procedure and its "only the steps that have work" stay in view, disabled. Choosing
    // the procedure gives back the pop-ups as the procedure allows them; the procedure
    // edited under either choice is saved with it.
    void stepsChoiceRoundTripsAndDisablesTheProcedure() {
        control<QTabWidget>("prefsTabs")->setCurrentWidget(control<QWidget>("tabProcedure"));
        auto *automatic = control<QRadioButton>("radioAutomaticSteps");
        auto *procedure = control<QRadioButton>("radioProcedureSteps");
        auto *onlyWithWork = control<QCheckBox>("checkOnlyStepsWithWork");
        auto *follow = control<QCheckBox>("checkFollowInputs");
        QCOMPARE(automatic->text(), QStringLiteral("Automatic: the steps the document needs"));
        QCOMPARE(procedure->text(), QStringLiteral("The steps below"));
        QVERIFY(automatic->isChecked() && !procedure->isChecked());
        for (QWidget *w : {static_cast<QWidget *>(proc(1)), static_cast<QWidget *>(onlyWithWork)})
            QVERIFY(w->isVisible() && !w->isEnabled());
        QVERIFY(follow->isEnabled());

        choose(procedure);
        QVERIFY(procedure->isChecked() && !automatic->isChecked());
        QVERIFY(proc(1)->isEnabled() && proc(2)->isEnabled() && !proc(3)->isEnabled());
        QVERIFY(onlyWithWork->isEnabled() && follow->isEnabled());
        proc(2)->setCurrentIndex(3);
        clickOk();
        QVERIFY(!shared->automaticSteps() && !buildSettingsOf(*shared).automaticSteps);
        QVERIFY(!Reloaded().automaticSteps());
        QCOMPARE(notified->count(), 1);

        QVERIFY(open());
        QVERIFY(control<QRadioButton>("radioProcedureSteps")->isChecked());
        QVERIFY(proc(3)->isEnabled() && !proc(4)->isEnabled());
        choose(control<QRadioButton>("radioAutomaticSteps"));
        QVERIFY(!proc(1)->isEnabled() && !control<QCheckBox>("checkOnlyStepsWithWork")->isEnabled());
        proc(3)->setCurrentIndex(4); // disabled, but still saved
        clickOk();
        const Reloaded stored;
        QVERIFY(shared->automaticSteps() && stored.automaticSteps());
        QCOMPARE(stored.procedureArray(), QList<int>({2, 3, 4, 0, 0, 0, 0, 0}));
        QCOMPARE(notified->count(), 2);
    }

    // The sheet reads the store as a launch does: a procedure written by an earlier
    // version, without a choice beside it, shows as the chosen steps.
    void storedProcedureWithoutAChoiceShowsAsChosen() {
        controller->prefsCanceled();
        QVERIFY(TestSupport::writeFile(SettingsStore().fileName(),
                                       "[General]\nAuto%20Procedures=\"[2,3,2,0]\"\n"));
        QVERIFY(open());
        QVERIFY(control<QRadioButton>("radioProcedureSteps")->isChecked());
        QVERIFY(proc(4)->isEnabled() && control<QCheckBox>("checkOnlyStepsWithWork")->isEnabled());
        clickOk();
        QVERIFY(!shared->automaticSteps());
    }

    // The floating window's controls follow its check box and are saved even when disabled.
    void choicesEncodingFloatingAndFieldsRoundTrip() {
        auto *floating = control<QCheckBox>("checkFloating");
        auto *contents = control<QComboBox>("popupWindowContents");
        auto *slider = control<QSlider>("sliderTransparency");
        QVERIFY(floating->isChecked() && contents->isEnabled() && slider->isEnabled());
        QTest::mouseClick(floating, Qt::LeftButton);
        QVERIFY(!contents->isEnabled() && !slider->isEnabled());
        contents->setCurrentIndex(3);
        slider->setValue(55);
        auto *encoding = control<QComboBox>("logEncoding");
        encoding->setCurrentIndex(encoding->findData(4u));
        QVERIFY(control<QRadioButton>("openChoiceLast")->isChecked());
        control<QRadioButton>("openChoicePanel")->click();
        setText("cmdCmd3", "/usr/bin/biber %1");
        setText("outputExt05", "");
        clickOk();
        const Reloaded stored;
        QVERIFY(!stored.floatingWindow() && stored.windowContents() == 3);
        QCOMPARE(stored.windowTransparency(), 0.55f);
        QCOMPARE(stored.logEncoding(), 4u);
        QCOMPARE(stored.startupChoice(), 1);
        QCOMPARE(stored.cmdCmdAtIndex(2), QStringLiteral("/usr/bin/biber %1"));
        QVERIFY(stored.outputExtArray().size() == 12 && stored.outputExtArray().at(4).isEmpty());

        // A startup choice that no cell stands for opens nothing, as the cell tagged 0; an
        // encoding this system lacks shows no item and is kept, not turned into 0.
        shared->setStartupChoice(7);
        shared->setLogEncoding(999999);
        reopenOnSaved();
        QVERIFY(control<QRadioButton>("openChoiceNothing")->isChecked());
        QCOMPARE(control<QComboBox>("logEncoding")->currentIndex(), -1);
        clickOk();
        QVERIFY(shared->startupChoice() == 0 && shared->logEncoding() == 999999u);
    }

    void sheetIsModalOpensOnceAndGoesWithItsWindow() {
        QDialog *first = sheet();
        QVERIFY(first->parentWidget());
        QCOMPARE(first->windowModality(), Qt::WindowModal);
        setText("cmdName1", "Unsaved");
        controller->openPreferences(nullptr);
        QCOMPARE(sheet(), first);
        QCOMPARE(text("cmdName1"), QStringLiteral("Unsaved"));
        controller->prefsCanceled();

        PrefsController alone;
        alone.openPreferences(nullptr);
        QVERIFY(alone.sheet() && alone.sheet()->isVisible());
        QCOMPARE(alone.sheet()->windowModality(), Qt::ApplicationModal);
        alone.prefsCanceled();

        // Closing the parent window drops the sheet; it opens again from scratch.
        auto *parent = new QWidget;
        parent->show();
        controller->openPreferences(parent);
        QVERIFY(sheet());
        delete parent;
        QVERIFY(!sheet() && !controller->currentPrefs());
        QVERIFY(open());
        QCOMPARE(notified->count(), 0);
    }

    void aStoreThatCannotBeWrittenIsReported() {
        const QString file = SettingsStore().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file)); // a folder where the file should go
        setText("cmdName1", "Kept in memory");
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        clickOk();
        QCOMPARE(shared->cmdNameAtIndex(0), QStringLiteral("Kept in memory"));
        QCOMPARE(notified->count(), 1);
        QCOMPARE(Alerts::shown().size(), 1);
        QVERIFY(Alerts::shown().at(0).message.contains(file));
        QVERIFY(SettingsFailure::told()); // the store's own report stays quiet
    }

    // The tables show the lists sorted with an empty last row; typing there appends, and
    // accepting drops blanked rows, keeps duplicates and sorts by the user's language, case
    // aside, into the working copy only.
    void editedRowsAreCleanedAndSortedWhenAccepted() {
        QVERIFY(openStrings());
        const QStringList notes{"LaTeX Font Warning:", "No file ", "Overfull", "Underfull"};
        QCOMPARE(rows("noteStringTable"), notes + QStringList{""});
        QVERIFY(setRow("noteStringTable", 4, "Underfull"));
        QCOMPARE(rows("noteStringTable"), notes + QStringList({"Underfull", ""}));
        QVERIFY(!setRow("noteStringTable", 5, "")); // the new empty row left alone adds nothing
        QCOMPARE(rows("noteStringTable").size(), 6);
        QVERIFY(setRow("noteStringTable", 0, "\u00e9t\u00e9"));
        QVERIFY(setRow("noteStringTable", 2, " \t\n")); // "Overfull" blanked out
        QVERIFY(setRow("noteStringTable", 5, "b note "));
        closeStrings();
        const QStringList expected{"b note ", "\u00e9t\u00e9", "No file ", "Underfull", "Underfull"};
        QCOMPARE(controller->currentPrefs()->noteStrArray(), expected);
        QCOMPARE(rows("noteStringTable"), expected + QStringList{QString()});
        QCOMPARE(shared->noteStrArray().size(), 4); // not applied before OK
        clickOk();
        QCOMPARE(shared->noteStrArray(), expected);
        QCOMPARE(Reloaded().noteStrArray(), expected);
    }

    void cancelRestoresWhatTheSheetShowedWhenItOpened() {
        QVERIFY(openStrings());
        // First use, the well's colour picked in its dialog: accepted into the working copy.
        pageString(2)->setText("Output written (%n pages)");
        QTest::mouseClick(well("errorColor"), Qt::LeftButton);
        auto *panel = strings()->findChild<QColorDialog *>("colorPanel");
        QTRY_VERIFY(panel && panel->isVisible());
        QCOMPARE(panel->currentColor(), QColor(Qt::red));
        panel->setCurrentColor(QColor(10, 20, 30));
        panel->accept();
        QVERIFY(setRow("errorStringTable", 6, "Fatal"));
        closeStrings();
        QCOMPARE(controller->currentPrefs()->errorColor(), QColor(10, 20, 30));
        const QStringList accepted = rows("errorStringTable");

        // Second use: edits thrown away by Escape, which leaves the preferences sheet up.
        QVERIFY(openStrings());
        for (int n : {2, 5})
            pageString(n)->setText("lost");
        for (const char *w : {"errorColor", "noteColor"})
            well(w)->setColor(Qt::cyan);
        QVERIFY(setRow("errorStringTable", 0, "lost") && setRow("errorStringTable", 7, "lost"));
        QTest::keyClick(strings(), Qt::Key_Escape);
        QTRY_VERIFY(!strings()->isVisible());
        QVERIFY(sheet()->isVisible());
        QCOMPARE(pageString(2)->text(), QStringLiteral("Output written (%n pages)"));
        QCOMPARE(pageString(5)->text(), shared->pageStrArray().at(4));
        QCOMPARE(well("errorColor")->color(), QColor(10, 20, 30));
        QCOMPARE(well("noteColor")->color(), shared->noteColor());
        QCOMPARE(rows("errorStringTable"), accepted);
    }
};

QTEST_MAIN(TestPrefsSheet)
#include "test_prefs_sheet.moc"
