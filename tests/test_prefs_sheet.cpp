// The preferences sheet: filling, editing, validating, applying and cancelling.
#include "platform/alerts.h"
#include "platform/core/notificationcenter.h"
#include "prefssheetdriver.h"
#include "settings/localizedtext.h"
#include "settings/logencoding.h"
#include "settings/sheets/colorwell.h"
#include "settings/settingsstore.h"
#include "testsupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
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

private slots:
    void initTestCase() { Text::installTable(); }
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
        if (stored == 0) {
            QCOMPARE(Alerts::shown().size(), 1);
            QCOMPARE(Alerts::shown().at(0).header, Text::localized("PrefsValidation"));
            QCOMPARE(Alerts::shown().at(0).message, Text::localized("IntervalError"));
            QVERIFY(d->sheet() && d->sheet()->isVisible());
            QCOMPARE(d->control<QLineEdit>("interval")->text(), text);
            QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("Edited"));
            QCOMPARE(prefsChangedCount(), 0);
            QCOMPARE(d->shared().interval(), 2);
            QCOMPARE(PrefsSheetDriver::storeBytes(), storeBefore);
        } else {
            QVERIFY(Alerts::shown().isEmpty());
            QVERIFY(!d->sheet());
            QCOMPARE(d->shared().interval(), stored);
            QCOMPARE(PrefsSheetDriver::reloaded()->interval(), stored);
            QCOMPARE(prefsChangedCount(), 1);
        }
    }

    void cancelChangesNothing()
    {
        const QuireonPrefs::Dictionary before = d->shared().prefsDic();
        const QByteArray storeBefore = PrefsSheetDriver::storeBytes();
        setText("cmdName1", "Changed");
        setText("outputExt12", "zzz");
        setText("interval", "9");
        proc(2)->setCurrentIndex(9);
        d->control<QCheckBox>("checkErrors")->setChecked(false);
        d->control<QSlider>("sliderTransparency")->setValue(70);
        QVERIFY(d->openStrings());
        d->setRow("errorStringTable", 0, "New error");
        d->stringsControl<QPushButton>("stringsOkButton")->click();
        QTRY_VERIFY(!d->stringSheet()->isVisible());
        d->controller().revertToDefauts();
        QTest::mouseClick(d->control<QPushButton>("cancelButton"), Qt::LeftButton);
        QVERIFY(!d->sheet());
        QCOMPARE(d->shared().prefsDic(), before);
        QCOMPARE(PrefsSheetDriver::storeBytes(), storeBefore);
        QCOMPARE(prefsChangedCount(), 0);
    }

    void escapeClosesLikeCancel()
    {
        setText("cmdName1", "Changed");
        QTest::keyClick(d->sheet(), Qt::Key_Escape);
        QTRY_VERIFY(!d->sheet());
        QCOMPARE(d->shared().cmdNameAtIndex(0), Text::localized("cmdName1"));
        QCOMPARE(prefsChangedCount(), 0);
    }

    void revertThenOkStoresTheDefaultsOfTheSheetsOnly()
    {
        d->controller().prefsCanceled();
        QuireonPrefs &p = d->shared();
        // Every setting away from its default, then saved.
        p.setCmdNameArray({"a", "b", "c", "d", "e"});
        p.setCmdExtArray({"x", "x", "x", "x", "x"});
        p.setCmdCmdArray({"/bin/true", "", "", "", ""});
        p.setOpenNameArray({"o", "o", "o", "o", "o"});
        p.setOpenExtArray({"q", "q", "q", "q", "q"});
        p.setOutputExtArray(QStringList(12, "junk"));
        p.setProcedureArray({3, 4, 5, 6, 8, 9, 10, 11});
        p.setErrorStrArray({"E"});
        p.setWarningStrArray({});
        p.setNoteStrArray({"N1", "N2"});
        p.setPageStrArray({"p", "p", "p", "p", "p"});
        p.setInterval(30);
        p.setStartupChoice(1);
        p.setCheckErrors(false);
        p.setCheckWarnings(false);
        p.setCheckNotes(false);
        p.setCheckPages(false);
        p.setErrorColor(Qt::yellow);
        p.setWarningColor(Qt::yellow);
        p.setNoteColor(Qt::yellow);
        p.setLogEncoding(4);
        p.setFloatingWindow(false);
        p.setWindowContents(0);
        p.setWindowTransparency(0.5f);
        p.setLastOpenedDocument("/tmp/last.tex");
        p.setLogDisplayTime(7.5f);
        p.setAutoFloating(false);
        p.setAutoFloatingContents(3);
        p.setTemplateArray(QStringList{"/tmp/t.tex"});
        p.setSymLinkArray(QStringList{"/tmp/l"});
        p.setFolderNameArray(QStringList{"pics", "data"});
        p.setNumberOfRecentTemplates(4);
        p.setCheckCreateFolderAlias(false);
        p.setCheckCreateExtraFolder(true);
        p.setCheckCreateSymLink(true);
        p.setTaskInputString("q\n");
        p.setNotifyInBackground(false);
        p.setEditorCommand("gvim +%l %f");
        p.setFollowInputs(false);
        QVERIFY(p.savePreferences());
        const QuireonPrefs::Dictionary customised = p.prefsDic();

        QVERIFY(d->open());
        QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("a"));
        d->controller().revertToDefauts();
        clickOk();
        QVERIFY(!d->sheet());

        QuireonPrefs defaults;
        QStringList errors = defaults.errorStrArray(), warnings = defaults.warningStrArray(),
                    notes = defaults.noteStrArray();
        for (QStringList *list : {&errors, &warnings, &notes})
            std::sort(list->begin(), list->end(), [](const QString &a, const QString &b) {
                return a.localeAwareCompare(b) < 0;
            });
        defaults.setErrorStrArray(errors);
        defaults.setWarningStrArray(warnings);
        defaults.setNoteStrArray(notes);
        const QStringList sheetKeys = {Key::CommandNames, Key::CommandExtensions, Key::CommandCommands,
            Key::OpenNames, Key::OpenExtensions, Key::OutputExtensions, Key::AutoProcedures,
            Key::ErrorStrings, Key::WarningStrings, Key::NoteStrings, Key::PageStrings,
            Key::CheckInterval, Key::StartupChoice, Key::CheckErrors, Key::CheckWarnings,
            Key::CheckNotes, Key::CheckPages, Key::ErrorColor, Key::WarningColor, Key::NoteColor,
            Key::LogEncoding, Key::FloatingWindow, Key::WindowContents, Key::WindowTransparency,
            Key::NotifyInBackground, Key::EditorCommand,
            Key::FollowIncludedFiles};
        const std::unique_ptr<QuireonPrefs> stored = PrefsSheetDriver::reloaded();
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant expected = sheetKeys.contains(info.key) ? defaults.prefsDic().value(info.key)
                                                                   : customised.value(info.key);
            QCOMPARE(p.prefsDic().value(info.key), expected);
            QCOMPARE(stored->prefsDic().value(info.key), p.prefsDic().value(info.key));
        }
        QCOMPARE(p.windowTransparency(), 0.2f);
        QCOMPARE(prefsChangedCount(), 1);
    }

    void procedurePopupsAndTheirEnabling()
    {
        QComboBox *first = proc(1);
        QCOMPARE(first->count(), 13);
        QCOMPARE(first->itemText(0), Text::localized("EmptyStep"));
        for (int item : {1, 7})
            QCOMPARE(first->itemData(item, Qt::AccessibleDescriptionRole).toString(), QStringLiteral("separator"));
        QCOMPARE(first->itemText(2), d->shared().cmdNameAtIndex(0));
        QCOMPARE(first->itemText(6), d->shared().cmdNameAtIndex(4));
        QCOMPARE(first->itemText(8), d->shared().openNameAtIndex(0));
        QCOMPARE(first->itemText(12), d->shared().openNameAtIndex(4));
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
        QCOMPARE(PrefsSheetDriver::reloaded()->procedureArray(), QList<int>({2, 4, 0, 9, 0, 0, 0, 12}));
        QCOMPARE(d->shared().procedureAtIndex(1), 3);
        QCOMPARE(d->shared().procedureAtIndex(2), 0);

        // Emptying step 1 disables every later step; a stored separator or unknown value
        // shows the empty step.
        d->shared().setProcedureArray({7, 1, 99, -4, 2});
        QVERIFY(d->shared().savePreferences());
        QVERIFY(d->open());
        for (int step = 1; step <= 4; ++step)
            QCOMPARE(proc(step)->currentIndex(), 0);
        QCOMPARE(proc(5)->currentIndex(), 2);
        QCOMPARE(proc(6)->currentIndex(), 0); // missing entries read as the empty step
        QVERIFY(proc(1)->isEnabled());
        for (int step = 2; step <= 8; ++step)
            QVERIFY(!proc(step)->isEnabled());
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
        QCOMPARE(contents->count(), 4);
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

    void choicesEncodingAndChecksRoundTrip()
    {
        auto *encoding = d->control<QComboBox>("logEncoding");
        const QList<LogEncoding::Encoding> available = LogEncoding::availableEncodings();
        QCOMPARE(encoding->count(), available.size());
        for (int i = 0; i < available.size(); ++i) {
            QCOMPARE(encoding->itemText(i), available[i].displayName);
            QCOMPARE(encoding->itemData(i).toUInt(), available[i].mib);
        }
        QCOMPARE(encoding->currentData().toUInt(), LogEncoding::Utf8Mib);
        QCOMPARE(d->controller().encodingOfName(QStringLiteral("No such encoding")), 0u);
        QCOMPARE(d->controller().encodingOfName(LogEncoding::displayName(4)), 4u);
        encoding->setCurrentIndex(encoding->findData(4u));

        auto *choice = d->control<QGroupBox>("openChoice");
        QVERIFY(choice);
        QRadioButton *last = d->control<QRadioButton>("openChoiceLast");
        QVERIFY(last->isChecked());
        d->control<QRadioButton>("openChoicePanel")->click();
        d->control<QCheckBox>("checkNotes")->setChecked(false);
        setText("cmdCmd3", "/usr/bin/biber %1");
        setText("outputExt05", "");
        clickOk();
        const std::unique_ptr<QuireonPrefs> stored = PrefsSheetDriver::reloaded();
        QCOMPARE(stored->logEncoding(), 4u);
        QCOMPARE(stored->startupChoice(), 1);
        QCOMPARE(stored->checkNotes(), false);
        QCOMPARE(stored->checkWarnings(), true);
        QCOMPARE(stored->cmdCmdAtIndex(2), QStringLiteral("/usr/bin/biber %1"));
        QCOMPARE(stored->outputExtArray().at(4), QString());
        QCOMPARE(stored->outputExtArray().size(), 12);

        // A startup choice that no cell stands for opens nothing, as the cell tagged 0.
        d->shared().setStartupChoice(7);
        d->shared().setLogEncoding(999999);
        QVERIFY(d->shared().savePreferences());
        QVERIFY(d->open());
        QVERIFY(d->control<QRadioButton>("openChoiceNothing")->isChecked());
        QCOMPARE(d->control<QComboBox>("logEncoding")->currentIndex(), -1);
        clickOk();
        QCOMPARE(d->shared().startupChoice(), 0);
        QCOMPARE(d->shared().logEncoding(), 999999u); // kept, not turned into 0
    }

    void shortStoredListsLeaveFieldsEmpty()
    {
        d->controller().prefsCanceled();
        d->shared().setCmdNameArray({"Only"});
        QVERIFY(d->shared().savePreferences());
        QVERIFY(d->open());
        QCOMPARE(d->control<QLineEdit>("cmdName1")->text(), QStringLiteral("Only"));
        QCOMPARE(d->control<QLineEdit>("cmdName2")->text(), QString());
        QCOMPARE(proc(1)->itemText(3), QString());
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

    // What a user does: rename command 1, set a three-step procedure, add a warning
    // prefix and recolour warnings, press OK.
    void aTypicalEditIsAppliedSavedAndAnnounced()
    {
        setText("cmdName1", "LuaLaTeX");
        setText("cmdCmd1", "/usr/bin/lualatex %1");
        proc(1)->setCurrentIndex(2);
        proc(2)->setCurrentIndex(3);
        proc(3)->setCurrentIndex(8);
        QCOMPARE(proc(1)->currentText(), QStringLiteral("LuaLaTeX"));
        QVERIFY(d->openStrings());
        const int last = int(d->rows("warningStringTable").size()) - 1;
        QVERIFY(d->setRow("warningStringTable", last, "Package hyperref Warning:"));
        auto *well = d->stringsControl<ColorWell>("warningColor");
        QVERIFY(well);
        well->setColor(QColor::fromRgbF(1.0f, 0.5f, 0.0f, 1.0f));
        QTest::mouseClick(d->stringsControl<QPushButton>("stringsOkButton"), Qt::LeftButton);
        QTRY_VERIFY(!d->stringSheet()->isVisible());
        clickOk();

        const QuireonPrefs &p = d->shared();
        QCOMPARE(p.cmdNameAtIndex(0), QStringLiteral("LuaLaTeX"));
        QCOMPARE(p.procedureAtIndex(0), 1);
        QCOMPARE(p.procedureAtIndex(1), 2);
        QCOMPARE(p.procedureAtIndex(2), -1);
        QCOMPARE(p.procedureAtIndex(3), 0);
        QVERIFY(p.warningStrArray().contains("Package hyperref Warning:"));
        QCOMPARE(p.warningColor(), QColor::fromRgbF(1.0f, 0.5f, 0.0f, 1.0f));
        QVERIFY(!p.dirty());
        const std::unique_ptr<QuireonPrefs> stored = PrefsSheetDriver::reloaded();
        QCOMPARE(stored->prefsDic(), p.prefsDic());
        QCOMPARE(prefsChangedCount(), 1);
        const QList<QVariant> args = notified->constLast();
        QCOMPARE(args.at(1).value<QObject *>(), &d->controller());
    }
};

QTEST_MAIN(TestPrefsSheet)
#include "test_prefs_sheet.moc"
