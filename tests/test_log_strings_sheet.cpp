// The log strings sheet: the prefix tables, colours, page strings, accepting and cancelling.
#include "prefssheetdriver.h"
#include "settings/localizedtext.h"
#include "settings/sheets/colorwell.h"
#include "settings/sheets/stringlistmodel.h"
#include "testsupport.h"

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

class TestLogStringsSheet : public QObject
{
    Q_OBJECT

    std::unique_ptr<PrefsSheetDriver> d;

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
        d = std::make_unique<PrefsSheetDriver>();
        QVERIFY(d->open());
        QVERIFY(d->openStrings());
    }
    void cleanup() { d.reset(); }

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

    // Strings accepted but then cancelled with the preferences sheet are gone at the next
    // opening; that nothing is saved is proven by the preferences sheet's cancel test.
    void acceptedStringsDieWithACancelledPreferencesSheet()
    {
        QVERIFY(d->setRow("warningStringTable", 7, "Package foo Warning:"));
        d->stringsControl<QLineEdit>("pageString1")->setText("");
        acceptStrings();
        QVERIFY(d->controller().currentPrefs()->warningStrArray().contains("Package foo Warning:"));
        d->controller().prefsCanceled();
        QVERIFY(d->open());
        QVERIFY(d->openStrings());
        QVERIFY(!d->rows("warningStringTable").contains("Package foo Warning:"));
        QCOMPARE(pageString(1), d->shared().pageStrArray().at(0));
    }

    void headingsFollowTheUnsavedCommandNames()
    {
        QTest::mouseClick(d->stringsControl<QPushButton>("stringsCancelButton"), Qt::LeftButton);
        QTRY_VERIFY(!d->stringSheet()->isVisible());
        d->control<QLineEdit>("cmdName2")->setText("Biber");
        QVERIFY(d->openStrings());
        const auto *heading = d->stringsControl<QLabel>("pageHeader2");
        QCOMPARE(heading->text(), Text::format("Page Title", {"Biber"}));
        QCOMPARE(d->stringsControl<QLabel>("pageHeader1")->text(),
                 Text::format("Page Title", {d->shared().cmdNameAtIndex(0)}));
    }

    void revertRefillsTheStringsSheet()
    {
        QVERIFY(d->setRow("errorStringTable", 0, "   "));
        well("noteColor")->setColor(Qt::black);
        acceptStrings();
        d->controller().revertToDefauts();
        QCOMPARE(d->rows("errorStringTable").size(), 7);
        QCOMPARE(well("noteColor")->color(), QColor::fromRgbF(0, 0, 1, 1));
    }
};

QTEST_MAIN(TestLogStringsSheet)
#include "test_log_strings_sheet.moc"
