// The preferences sheet and the log strings sheet on it: filling, editing, validating,
// applying and cancelling.
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "prefssheetdriver.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"
#include "settings/sheets/colorwell.h"
#include "settings/sheets/stringlistmodel.h"
#include "settings/settingsstore.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QtTest>

class TestPrefsSheet : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrefsSheetDriver> d;
    std::unique_ptr<QSignalSpy> notified;

    int prefsChangedCount() const
    {
        int n = 0;
        for (const QList<QVariant> &args : *notified)
            n += args.at(0).toString() == kPrefsChangedNotification;
        return n;
    }
    QComboBox *proc(int step) const
    {
        return d->control<QComboBox>(qPrintable(QStringLiteral("proc%1").arg(step)));
    }
    void setText(const char *field, const QString &text)
    {
        QLineEdit *edit = d->control<QLineEdit>(field);
        QVERIFY2(edit, field);
        edit->setText(text);
    }
    void clickOk() { QTest::mouseClick(d->control<QPushButton>("okButton"), Qt::LeftButton); }
    void acceptStrings()
    {
        QTest::mouseClick(d->stringsControl<QPushButton>("stringsOkButton"), Qt::LeftButton);
        QTRY_VERIFY(!d->stringSheet()->isVisible());
    }
    QString pageString(int n) const
    {
        return d->stringsControl<QLineEdit>(qPrintable(QStringLiteral("pageString%1").arg(n)))->text();
    }
    ColorWell *well(const char *name) const { return d->stringsControl<ColorWell>(name); }
    // Saves what the shared settings hold and opens the sheet on it afresh.
    void reopenOnSaved()
    {
        d->controller().prefsCanceled();
        QVERIFY(d->shared().savePreferences());
        QVERIFY(d->open());
    }

private slots:
    void initTestCase()
    {
        Text::installTable();
        // Sorting follows the user's language; the tests run in the C locale otherwise.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void init()
    {
        TestSupport::freshSettings();
        Alerts::clearShown();
        d = std::make_unique<PrefsSheetDriver>();
        notified = std::make_unique<QSignalSpy>(NotificationCenter::defaultCenter(),
                                                &NotificationCenter::notified);
        QVERIFY(d->open());
    }
    void cleanup()
    {
        notified.reset();
        d.reset();
    }

    void intervalIsValidated_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored"); // 0: refused
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("negative") << "-3" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("too long for a timer") << "99999999999" << 0;
        QTest::newRow("fraction") << "2.9" << 2;
        QTest::newRow("leading blank") << " 5" << 5;
        QTest::newRow("largest") << "2147483" << 2147483;
    }
    void intervalIsValidated()
    {
        QFETCH(QString, text);
        QFETCH(int, stored);
        const QByteArray storeBefore = PrefsSheetDriver::storeBytes();
        setText("cmdName1", "Edited");
        setText("interval", text);
        if (stored == 0)
            Alerts::setNextAnswer(Alerts::DefaultReturn);
        clickOk();
        QCOMPARE(Alerts::shown().size(), stored ? 0 : 1);
        QCOMPARE(prefsChangedCount(), stored ? 1 : 0);
        QCOMPARE(d->shared().interval(), stored ? stored : 2);
        QCOMPARE(PrefsSheetDriver::reloaded()->interval(), stored ? stored : 2);
        QCOMPARE(d->sheet() != nullptr, stored == 0);
        if (stored == 0) { // the sheet stays up as it was, and nothing is written
            QCOMPARE(Alerts::shown().at(0).header, Text::localized("PrefsValidation"));
            QCOMPARE(Alerts::shown().at(0).message, Text::localized("IntervalError"));
            QVERIFY(d->sheet()->isVisible());
            QCOMPARE(d->control<QLineEdit>("interval")->text(), text);
            QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("Edited"));
            QCOMPARE(PrefsSheetDriver::storeBytes(), storeBefore);
        }
    }

    // Neither the sheet's edits, nor accepted log strings, nor a revert survive Cancel or
    // Escape: nothing is applied, saved or announced, and the next opening shows the store.
    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("escape key") << true;
    }
    void cancelChangesNothing()
    {
        QFETCH(bool, escape);
        const QuireonPrefs::Dictionary before = d->shared().prefsDic();
        const QByteArray storeBefore = PrefsSheetDriver::storeBytes();
        setText("cmdName1", "Changed");
        setText("interval", "9");
        proc(2)->setCurrentIndex(9);
        d->control<QCheckBox>("checkErrors")->setChecked(false);
        QVERIFY(d->openStrings());
        QVERIFY(d->setRow("errorStringTable", 0, "New error"));
        d->stringsControl<QLineEdit>("pageString1")->setText("");
        acceptStrings();
        QVERIFY(d->controller().currentPrefs()->errorStrArray().contains("New error"));
        if (escape) {
            QTest::keyClick(d->sheet(), Qt::Key_Escape);
        } else {
            d->controller().revertToDefauts();
            QTest::mouseClick(d->control<QPushButton>("cancelButton"), Qt::LeftButton);
        }
        QTRY_VERIFY(!d->sheet());
        QCOMPARE(d->shared().prefsDic(), before);
        QCOMPARE(PrefsSheetDriver::storeBytes(), storeBefore);
        QCOMPARE(prefsChangedCount(), 0);
        QVERIFY(d->open() && d->openStrings());
        QVERIFY(!d->rows("errorStringTable").contains("New error"));
        QCOMPARE(pageString(1), d->shared().pageStrArray().at(0));
    }

    // Every setting away from its default; Revert then OK must bring back the defaults of
    // the keys the sheets show, every control filled and read back, and leave the others.
    void revertThenOkStoresTheDefaultsOfTheSheetsOnly()
    {
        QuireonPrefs &p = d->shared();
        const QuireonPrefs::Dictionary initial = QuireonPrefs().prefsDic();
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant v = p.prefsDic().value(info.key);
            switch (info.kind) {
            case PrefKind::Bool: p.setBool(!v.toBool(), info.key); break;
            case PrefKind::Int: p.setInt(v.toInt() + 1, info.key); break;
            case PrefKind::UnsignedLong: p.setUnsignedLong(4, info.key); break;
            case PrefKind::Float: p.setFloat(0.5f, info.key); break;
            case PrefKind::Color: p.setColor(Qt::yellow, info.key); break;
            case PrefKind::String: p.setString(QStringLiteral("/tmp/x"), info.key); break;
            case PrefKind::StringList: p.setStringList({"x"}, info.key); break;
            case PrefKind::IntList: p.setIntList({3, 4, 5, 6, 8, 9, 10, 11}, info.key); break;
            default: QFAIL("a kind without a custom value");
            }
            QVERIFY2(p.prefsDic().value(info.key) != initial.value(info.key), qPrintable(info.key));
        }
        const QuireonPrefs::Dictionary customised = p.prefsDic();
        reopenOnSaved();
        QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("x"));
        QCOMPARE(d->control<QLineEdit>("cmdName2")->text(), QString()); // the stored list is shorter
        QCOMPARE(proc(1)->itemText(3), QString());
        QCOMPARE(d->control<QLineEdit>("editorCommand")->text(), QStringLiteral("/tmp/x"));
        QCOMPARE(d->control<QLineEdit>("interval")->text(), QStringLiteral("3"));
        for (const char *box : {"checkErrors", "checkWarnings", "checkNotes", "checkPages", "checkFloating",
                                "checkNotifyInBackground", "checkFollowInputs", "checkOnlyStepsWithWork"})
            QVERIFY2(!d->control<QCheckBox>(box)->isChecked(), box);
        d->controller().revertToDefauts();
        clickOk();
        QVERIFY(!d->sheet());

        // The string tables come back sorted.
        QuireonPrefs defaults;
        for (const QString &key : {Key::ErrorStrings, Key::WarningStrings, Key::NoteStrings}) {
            QStringList list = defaults.stringListForKey(key);
            sortStringArray(list);
            defaults.setStringList(list, key);
        }
        const QStringList notOnTheSheets = {Key::LastOpenedFile, Key::LogDisplayTime,
            Key::AutoExpandFloatingWindow, Key::AutoExpandFloatingContents, Key::RecentTemplates,
            Key::RecentSymbolicLinks, Key::RecentFolderNames, Key::NumberOfRecentItems, Key::CreateFolderAlias,
            Key::CreateExtraFolder, Key::CreateSymbolicLink, Key::TaskInputString};
        const std::unique_ptr<QuireonPrefs> stored = PrefsSheetDriver::reloaded();
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant expected = notOnTheSheets.contains(info.key) ? customised.value(info.key)
                                                                        : defaults.prefsDic().value(info.key);
            QCOMPARE(p.prefsDic().value(info.key), expected);
            QCOMPARE(stored->prefsDic().value(info.key), expected);
        }
        QCOMPARE(prefsChangedCount(), 1);
    }

    void procedurePopupsAndTheirEnabling()
    {
        QComboBox *first = proc(1);
        QCOMPARE(first->itemText(0), Text::localized("EmptyStep"));
        for (int item : {1, 7})
            QCOMPARE(first->itemData(item, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("separator"));
        QCOMPARE(first->itemText(6), d->shared().cmdNameAtIndex(4));
        QCOMPARE(first->itemText(8), d->shared().openNameAtIndex(0));
        // Defaults: step 1 runs command 1, so only steps 1 and 2 can be chosen.
        QVERIFY(proc(1)->isEnabled() && proc(2)->isEnabled() && !proc(3)->isEnabled());

        proc(1)->setCurrentIndex(2);
        proc(2)->setCurrentIndex(4);
        proc(3)->setCurrentIndex(0);
        for (int step = 1; step <= 3; ++step)
            QVERIFY(proc(step)->isEnabled());
        proc(4)->setCurrentIndex(9); // disabled, but still saved
        proc(8)->setCurrentIndex(12);
        for (int step = 4; step <= 8; ++step)
            QVERIFY2(!proc(step)->isEnabled(), qPrintable(QString::number(step)));
        clickOk();
        QCOMPARE(d->shared().procedureArray(), QList<int>({2, 4, 0, 9, 0, 0, 0, 12}));
        QVERIFY(!d->shared().dirty());
        QCOMPARE(PrefsSheetDriver::reloaded()->prefsDic(), d->shared().prefsDic());
        QCOMPARE(prefsChangedCount(), 1);
        QCOMPARE(notified->constLast().at(1).value<QObject *>(), &d->controller()); // the sender

        // Stored values at the edges of the command and open ranges: a separator, a value
        // past the last item and a missing entry show the empty step, which disables the rest.
        d->shared().setProcedureArray({6, 8, 12, 13, 7, -4, 2});
        reopenOnSaved();
        const QList<int> shown{6, 8, 12, 0, 0, 0, 2, 0};
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->currentIndex(), shown[step - 1]);
            QCOMPARE(proc(step)->isEnabled(), step <= 4);
        }
    }

    void popupTitlesFollowTheNameFields()
    {
        setText("cmdName2", "XeLaTeX");
        setText("openName5", "Word count");
        for (int step = 1; step <= 8; ++step) {
            QCOMPARE(proc(step)->itemText(3), QStringLiteral("XeLaTeX"));
            QCOMPARE(proc(step)->itemText(12), QStringLiteral("Word count"));
            QCOMPARE(proc(step)->itemText(2), d->shared().cmdNameAtIndex(0));
        }
        d->controller().revertToDefauts();
        QCOMPARE(proc(5)->itemText(3), Text::localized("cmdName2"));
    }

    void floatingControlsFollowTheCheckBox()
    {
        auto *floating = d->control<QCheckBox>("checkFloating");
        auto *contents = d->control<QComboBox>("popupWindowContents");
        auto *slider = d->control<QSlider>("sliderTransparency");
        QCOMPARE(contents->currentIndex(), 2);
        QCOMPARE(slider->value(), 20);
        QVERIFY(floating->isChecked() && contents->isEnabled() && slider->isEnabled());
        QTest::mouseClick(floating, Qt::LeftButton);
        QVERIFY(!contents->isEnabled() && !slider->isEnabled());
        contents->setCurrentIndex(3);
        slider->setValue(55);
        clickOk();
        QCOMPARE(d->shared().floatingWindow(), false);
        QCOMPARE(d->shared().windowContents(), 3);
        QCOMPARE(d->shared().windowTransparency(), 0.55f);
    }

    void choicesEncodingAndFieldsRoundTrip()
    {
        auto *encoding = d->control<QComboBox>("logEncoding");
        QCOMPARE(encoding->currentData().toUInt(), LogEncoding::Utf8Mib);
        QCOMPARE(d->controller().encodingOfName(QStringLiteral("No such encoding")), 0u);
        encoding->setCurrentIndex(encoding->findData(4u));
        QVERIFY(d->control<QRadioButton>("openChoiceLast")->isChecked());
        d->control<QRadioButton>("openChoicePanel")->click();
        setText("cmdCmd3", "/usr/bin/biber %1");
        setText("outputExt05", "");
        clickOk();
        const std::unique_ptr<QuireonPrefs> stored = PrefsSheetDriver::reloaded();
        QCOMPARE(stored->logEncoding(), 4u);
        QCOMPARE(stored->startupChoice(), 1);
        QCOMPARE(stored->cmdCmdAtIndex(2), QStringLiteral("/usr/bin/biber %1"));
        QCOMPARE(stored->outputExtArray().at(4), QString());
        QCOMPARE(stored->outputExtArray().size(), 12);

        // A startup choice that no cell stands for opens nothing, as the cell tagged 0; an
        // encoding this system lacks shows no item and is kept, not turned into 0.
        d->shared().setStartupChoice(7);
        d->shared().setLogEncoding(999999);
        reopenOnSaved();
        QVERIFY(d->control<QRadioButton>("openChoiceNothing")->isChecked());
        QCOMPARE(d->control<QComboBox>("logEncoding")->currentIndex(), -1);
        clickOk();
        QCOMPARE(d->shared().startupChoice(), 0);
        QCOMPARE(d->shared().logEncoding(), 999999u);
    }

    void sheetIsWindowModalAndOpensOnce()
    {
        QDialog *sheet = d->sheet();
        QVERIFY(sheet->parentWidget());
        QCOMPARE(sheet->windowModality(), Qt::WindowModal);
        setText("cmdName1", "Unsaved");
        d->controller().openPreferences(nullptr);
        QCOMPARE(d->sheet(), sheet);
        QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("Unsaved"));
        d->controller().prefsCanceled();

        PrefsController alone;
        alone.openPreferences(nullptr);
        QVERIFY(alone.sheet());
        QCOMPARE(alone.sheet()->windowModality(), Qt::ApplicationModal);
        QVERIFY(alone.sheet()->isVisible());
        alone.prefsCanceled();
        QVERIFY(!alone.sheet());
    }

    void closingTheParentWindowDropsTheSheet()
    {
        d->controller().prefsCanceled();
        auto *window = new QWidget;
        window->show();
        d->controller().openPreferences(window);
        QVERIFY(d->sheet());
        delete window;
        QVERIFY(!d->sheet());
        QVERIFY(!d->controller().currentPrefs());
        QVERIFY(d->open()); // opens again, from scratch
        QCOMPARE(prefsChangedCount(), 0);
    }

    void aStoreThatCannotBeWrittenIsReported()
    {
        const QString file = SettingsStore().fileName();
        QFile::remove(file);
        QVERIFY(QDir().mkpath(file)); // a folder where the file should go
        setText("cmdName1", "Kept in memory");
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        clickOk();
        QCOMPARE(d->shared().cmdNameAtIndex(0), QStringLiteral("Kept in memory"));
        QCOMPARE(prefsChangedCount(), 1);
        QCOMPARE(Alerts::shown().size(), 1);
        QCOMPARE(Alerts::shown().at(0).header, Text::localized("PrefsSaveErrorHeader"));
        QVERIFY(Alerts::shown().at(0).message.contains(file));
    }

    void sortingFollowsTheLocaleAndDropsBlanksOnly()
    {
        QStringList list = {"b", "", "C", " \t", "a", "I found no ", "\n", "a", "\u00e9t\u00e9", "e"};
        sortStringArray(list);
        QCOMPARE(list, QStringList({"a", "a", "b", "C", "e", "\u00e9t\u00e9", "I found no "}));
    }

    // The tables show the lists sorted with an empty last row; typing there appends, and
    // accepting drops blanked rows, keeps duplicates and sorts into the working copy only.
    void editedRowsAreCleanedAndSortedWhenAccepted()
    {
        QVERIFY(d->openStrings());
        QCOMPARE(d->rows("noteStringTable"),
                 QStringList({"LaTeX Font Warning:", "No file ", "Overfull", "Underfull", ""}));
        QCOMPARE(d->rows("errorStringTable").size(), 7);
        QCOMPARE(d->rows("warningStringTable").size(), 8);
        QCOMPARE(d->stringsControl<QTabWidget>("stringsTab")->currentIndex(), 0);
        QVERIFY(d->setRow("noteStringTable", 4, "Underfull"));
        QCOMPARE(d->rows("noteStringTable"),
                 QStringList({"LaTeX Font Warning:", "No file ", "Overfull", "Underfull", "Underfull", ""}));
        QVERIFY(!d->setRow("noteStringTable", 5, "")); // the new empty row left alone adds nothing
        QCOMPARE(d->rows("noteStringTable").size(), 6);
        QVERIFY(d->setRow("noteStringTable", 0, "Changed"));
        QVERIFY(d->setRow("noteStringTable", 2, "   ")); // "Overfull" blanked out
        QVERIFY(d->setRow("noteStringTable", 5, "A note "));
        acceptStrings();
        const QStringList expected = {"A note ", "Changed", "No file ", "Underfull", "Underfull"};
        QCOMPARE(d->controller().currentPrefs()->noteStrArray(), expected);
        QCOMPARE(d->rows("noteStringTable"), expected + QStringList{QString()});
        QCOMPARE(d->shared().noteStrArray().size(), 4); // not applied before OK
        QVERIFY(d->controller().validatePrefs());
        d->controller().prefsOk();
        QCOMPARE(d->shared().noteStrArray(), expected);
        QCOMPARE(PrefsSheetDriver::reloaded()->noteStrArray(), expected);
    }

    void cancelRestoresWhatTheSheetShowedWhenItOpened()
    {
        QVERIFY(d->openStrings());
        // First use: accepted, so the working copy holds these values.
        d->stringsControl<QLineEdit>("pageString2")->setText("Output written (%n pages)");
        well("errorColor")->setColor(Qt::magenta);
        QVERIFY(d->setRow("errorStringTable", 6, "Fatal"));
        acceptStrings();
        const QStringList accepted = d->rows("errorStringTable");

        // Second use: edits thrown away by Escape, which leaves the preferences sheet up.
        QVERIFY(d->openStrings());
        d->stringsControl<QLineEdit>("pageString2")->setText("lost");
        d->stringsControl<QLineEdit>("pageString5")->setText("lost too");
        well("errorColor")->setColor(Qt::cyan);
        well("noteColor")->setColor(Qt::cyan);
        QVERIFY(d->setRow("errorStringTable", 0, "lost"));
        QVERIFY(d->setRow("errorStringTable", 7, "lost"));
        QTest::keyClick(d->stringSheet(), Qt::Key_Escape);
        QTRY_VERIFY(!d->stringSheet()->isVisible());
        QVERIFY(d->sheet()->isVisible());
        QCOMPARE(pageString(2), QStringLiteral("Output written (%n pages)"));
        QCOMPARE(pageString(5), d->shared().pageStrArray().at(4));
        QCOMPARE(well("errorColor")->color(), QColor(Qt::magenta));
        QCOMPARE(well("noteColor")->color(), d->shared().noteColor());
        QCOMPARE(d->rows("errorStringTable"), accepted);
        QVERIFY(accepted.contains("Fatal"));
    }

    void aColourWellOpensAColourDialog()
    {
        QVERIFY(d->openStrings());
        ColorWell *errors = well("errorColor");
        QTest::mouseClick(errors, Qt::LeftButton);
        auto *panel = d->stringSheet()->findChild<QColorDialog *>("colorPanel");
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QCOMPARE(panel->currentColor(), QColor(Qt::red));
        panel->setCurrentColor(QColor(10, 20, 30));
        panel->accept();
        QCOMPARE(errors->color(), QColor(10, 20, 30));
        acceptStrings();
        QCOMPARE(d->controller().currentPrefs()->errorColor(), QColor(10, 20, 30));
    }

    void headingsFollowTheUnsavedCommandNames()
    {
        QVERIFY(d->openStrings());
        QTest::mouseClick(d->stringsControl<QPushButton>("stringsCancelButton"), Qt::LeftButton);
        QTRY_VERIFY(!d->stringSheet()->isVisible());
        d->control<QLineEdit>("cmdName2")->setText("Biber");
        QVERIFY(d->openStrings());
        const auto *heading = d->stringsControl<QLabel>("pageHeader2");
        QCOMPARE(heading->text(), Text::format("Page Title", {"Biber"}));
        QCOMPARE(d->stringsControl<QLabel>("pageHeader1")->text(),
                 Text::format("Page Title", {d->shared().cmdNameAtIndex(0)}));
    }
};

QTEST_MAIN(TestPrefsSheet)
#include "test_prefs_sheet.moc"
