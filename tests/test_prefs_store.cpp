// The settings store: kinds, defaults, saving, loading, recent lists and bad stored data.
#include "document/helpers/pagereport.h"
#include "platform/alerts.h"
#include "platform/settingsfailure.h"
#include "settings/buildsettingsread.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"
#include "settings/settingsstore.h"
#include "testsupport.h"

#include <QtTest>

class TestPrefsStore : public QObject {
    Q_OBJECT

    // Settings loaded from the store, as at launch.
    struct Loaded : QuireonPrefs { Loaded() { awakeFromNib(); } };

    static QByteArray bytes(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QSettings rawStore() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Quireon", "Quireon");
    }

    // Starts a new process that loads the settings and returns what it read, by key.
    static QJsonObject readInFreshProcess() {
        QProcess probe;
        probe.start(QStringLiteral(QUIREON_BINARY_DIR "/tests/prefs_probe"), {});
        probe.waitForFinished(20000);
        return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
    }

private slots:
    void initTestCase() { Text::installTable(); }
    void init() { TestSupport::freshSettings(); }

    // The default page strings read the real tools' page reports and nothing else that
    // the tools print on the way (box sizes, generated fonts, page references); the real
    // pdflatex's reports of one and two pages are read in its own test.
    void defaultPageStringsReadOnlyPageReports_data() {
        TestSupport::columns<int, QString, int>({"command", "line", "pages"});
        QTest::newRow("latex") << 3 << "Output written on m.dvi (2 pages, 400 bytes).\n" << 2;
        QTest::newRow("overfull") << 0 << "Overfull \\hbox (14.6pt too wide) at line 12\n" << -1;
        QTest::newRow("gf font") << 0 << "Output written on ec.600gf (256 characters).\n" << -1;
        QTest::newRow("ref") << 0 << "LaTeX Warning: Reference `x' on page 3 undefined\n" << 0;
        QTest::newRow("shipped") << 0 << "[1{/var/lib/texmf/fonts/map/pdftex.map}] [2]\n" << -1;
    }
    void defaultPageStringsReadOnlyPageReports() {
        QFETCH(int, command);
        QFETCH(QString, line);
        QFETCH(int, pages);
        const auto shape = PageReport::shapeOf(QuireonPrefs().pageStrArray().at(command));
        QVERIFY(shape);
        QCOMPARE(PageReport::checkPage(line, *shape), pages);
    }

    void keyWithoutTextComesBackAsItself() {
        QCOMPARE(Text::localized("no such key"), QStringLiteral("no such key"));
        QCOMPARE(Text::substitute("%@ and %@", {"a"}), QStringLiteral("a and %@"));
    }

    void stepCodesOutOfRangeOrBeyondAnIntAreEmptyOrUnread() {
        QuireonPrefs p;
        p.setProcedureArray({1, 2, 6, 7, 8, 12, 13}); // the eighth step is missing: empty
        QList<int> codes;
        for (int i = 0; i < 8; ++i)
            codes << p.procedureAtIndex(i);
        QCOMPARE(codes, QList<int>({0, 1, 5, 0, -1, -5, 0, 0}));

        // A stored list is read while every code fits an int; beyond, it is unreadable.
        rawStore().setValue(Key::AutoProcedures, "[3, 2147483647, -2147483647]");
        QCOMPARE(Loaded().procedureAtIndex(0), 2);
        rawStore().setValue(Key::AutoProcedures, "[3, 2147483648]");
        QCOMPARE(Loaded().procedureAtIndex(0), 1);
    }

    // A save without changes leaves the file alone; a stored list replaces the default list
    // whole; keys of the earlier layout go at load.
    void savingOnlyWhenDirtyLoadingWholeListsAndDroppingObsoleteKeys() {
        QuireonPrefs p;
        p.setString(QString(), Key::TaskInputString);
        QVERIFY(!p.hasValue(Key::TaskInputString));
        p.setErrorStrArray({"E1", "E2"});
        QVERIFY(p.savePreferences() && !p.dirty());
        {
            QSettings store = rawStore();
            QVERIFY(store.contains(Key::CommandNames) && !store.contains(Key::TaskInputString));
            store.setValue(Key::CheckInterval, "77");
            store.setValue(Key::LastTemplate, "/old/t.tex");
            store.setValue(Key::LastSymbolicLink, "/old/l");
        }
        QVERIFY(p.savePreferences());
        QCOMPARE(rawStore().value(Key::CheckInterval).toString(), QStringLiteral("77"));
        Loaded reader;
        QCOMPARE(reader.errorStrArray(), QStringList({"E1", "E2"}));
        QVERIFY(reader.warningStrArray().size() == 7 && reader.dirty());
        QVERIFY(!rawStore().contains(Key::LastTemplate) &&
                !rawStore().contains(Key::LastSymbolicLink));
    }

    void everyKindSurvivesAFreshProcess() {
        const QString tricky = QStringLiteral("a, b; \"q\" 'x' = y\nline two é ☃ @at");
        QuireonPrefs p;
        p.setCmdNameArray({tricky});
        p.setOpenExtArray({});
        p.setPageStrArray({"", "a,b", "c=d", "\"", "%n"});
        p.setLastOpenedDocument(tricky);
        p.setTaskInputString(QStringLiteral("\n\\end\n"));
        p.setNoteColor(QColor::fromRgbF(0.25f, 0.5f, 0.75f, 0.5f));
        p.setProcedureArray({2, 8, 3});
        p.setLogEncoding(4);
        p.setWindowTransparency(0.35f);
        p.setCheckNotes(false);
        p.setInterval(31);
        QVERIFY(p.savePreferences());

        // Every key comes back with the value and the type it was saved with.
        const auto got = readInFreshProcess();
        // All but the two empty recent lists.
        QCOMPARE(got.size(), qsizetype(preferenceKeys.size() - 2));
        for (const PrefKeyInfo &info : preferenceKeys) {
            const QVariant v = p.prefsDic().value(info.key);
            if (!v.isValid())
                continue;
            QCOMPARE(got[info.key]["type"].toString(), QString::fromLatin1(v.typeName()));
            QCOMPARE(got[info.key]["value"], QJsonValue::fromVariant(v));
        }
    }

    void wrongKindsReadAsDefaultsAndAreRepaired() {
        {
            QSettings store = rawStore();
            store.setValue(Key::ErrorStrings, "just a string");
            store.setValue(Key::ErrorColor, "[1, 0, 0]");
            store.setValue(Key::WarningStrings, "[[\"nested\"], \"x\"]");
            store.setValue(Key::CheckInterval, "abc");
            store.setValue(Key::AutoProcedures, "[2, \"three\"]");
            store.setValue(Key::NoteStrings, "[\"kept\"]");
            store.setValue(Key::LastOpenedFile, QStringList{"a", "b"});
        }
        Loaded p;
        QCOMPARE(p.errorStrArray().size(), 6);
        QCOMPARE(p.errorColor(), QColor(Qt::red));
        QCOMPARE(p.warningStrArray().size(), 7);
        QCOMPARE(p.interval(), 2);
        QCOMPARE(p.procedureAtIndex(0), 1);
        QCOMPARE(p.noteStrArray(), QStringList{"kept"});
        QVERIFY(!p.hasValue(Key::LastOpenedFile) && p.savePreferences());
        QCOMPARE(Loaded().errorColor(), QColor(Qt::red));
        QCOMPARE(rawStore().value(Key::CheckInterval).toString(), QStringLiteral("2"));
    }

    // Stored text is read by the key's kind: out-of-range numbers are clamped, and a flag
    // reads only true/1 and false/0; anything else reads the default.
    void storedTextReadByKind_data() {
        TestSupport::columns<QString, QString, double>({"key", "stored", "loaded"});
        QTest::newRow("opaque") << Key::WindowTransparency << "1.0" << 0.9;
        QTest::newRow("negative transparency") << Key::WindowTransparency << "-0.5" << 0.0;
        QTest::newRow("nan transparency") << Key::WindowTransparency << "nan" << 0.0;
        QTest::newRow("no interval") << Key::CheckInterval << "0" << 1.0;
        QTest::newRow("huge interval") << Key::CheckInterval << "2147484" << 2147483.0;
        QTest::newRow("contents above") << Key::WindowContents << "4" << 3.0;
        QTest::newRow("contents below") << Key::WindowContents << "-1" << 0.0;
        QTest::newRow("false") << Key::CheckNotes << "false" << 0.0;
        QTest::newRow("zero flag") << Key::CheckNotes << " 0 " << 0.0;
        QTest::newRow("true") << Key::CreateExtraFolder << "true" << 1.0;
        QTest::newRow("one flag") << Key::CreateExtraFolder << "1" << 1.0;
        QTest::newRow("other word") << Key::CheckNotes << "no" << 1.0;
        QTest::newRow("other number") << Key::CreateExtraFolder << "2" << 0.0;
    }

    void storedTextReadByKind() {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(double, loaded);
        rawStore().setValue(key, stored);
        Loaded p;
        QCOMPARE(float(p.doubleForKey(key)), float(loaded));
        QCOMPARE(p.prefsDic().value(key).typeId(), QuireonPrefs().prefsDic().value(key).typeId());
    }

    // A store written before the choice of steps existed holds a procedure, and its user
    // keeps running it; a new user's store, without one, starts with the automatic steps.
    // A stored choice wins; one that cannot be read counts as none, and the file's other
    // settings are still read.
    void automaticStepsFollowWhetherTheStoreHoldsAProcedure_data() {
        TestSupport::columns<QByteArray, bool>({"lines", "automatic"});
        const QByteArray procedure = "Auto%20Procedures=\"[2,3,2,2,0,0,0,0]\"\n";
        QTest::newRow("no procedure") << QByteArray() << true;
        QTest::newRow("procedure") << procedure << false;
        QTest::newRow("procedure, on") << procedure + "Automatic%20Steps=true\n" << true;
        QTest::newRow("no procedure, off") << QByteArray("Automatic%20Steps=0\n") << false;
        QTest::newRow("procedure, foreign") << procedure + "Automatic%20Steps=yes\n" << false;
        QTest::newRow("no procedure, foreign") << QByteArray("Automatic%20Steps=[1]\n") << true;
        QTest::newRow("unreadable procedure")
            << QByteArray("Auto%20Procedures=\"[2, \\\"three\\\"]\"\n") << false;
    }
    void automaticStepsFollowWhetherTheStoreHoldsAProcedure() {
        QFETCH(QByteArray, lines);
        QFETCH(bool, automatic);
        QVERIFY(TestSupport::writeFile(SettingsStore().fileName(),
                                       "[General]\nCheck%20Interval=7\n" + lines +
                                           "Run%20Only%20Steps%20With%20Work=false\n"));
        Loaded p;
        QCOMPARE(p.automaticSteps(), automatic);
        QCOMPARE(buildSettingsOf(p).automaticSteps, automatic);
        QVERIFY(p.interval() == 7 && !p.onlyStepsWithWork());
        // Saved, the choice no longer hangs on the procedure.
        QVERIFY(p.savePreferences());
        rawStore().remove(Key::AutoProcedures);
        QCOMPARE(Loaded().automaticSteps(), automatic);
    }

    // A stray line that QSettings refuses loses nothing else: the other lines are read, a
    // copy of the file as it was stays beside it, and the user hears of it once.
    void damagedFileKeepsWhatItHolds() {
        QuireonPrefs writer;
        writer.setInterval(7);
        writer.setErrorStrArray({"E1", "E2"});
        QVERIFY(writer.savePreferences());
        rawStore().setValue(Key::DocumentWindowSize, "{500, 400}");
        const QString path = SettingsStore().fileName();
        QByteArray damaged = bytes(path);
        damaged.insert(damaged.indexOf('\n') + 1, "  [broken\n");
        QVERIFY(TestSupport::writeFile(path, damaged));

        SettingsFailure::reset();
        SettingsFailure::install();
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        Loaded p;
        QCOMPARE(p.interval(), 7);
        QCOMPARE(p.errorStrArray(), QStringList({"E1", "E2"}));
        QCOMPARE(SettingsStore().rawString(Key::DocumentWindowSize), QStringLiteral("{500, 400}"));
        QCOMPARE(bytes(path + ".unreadable"), damaged);
        QTRY_COMPARE(Alerts::shown().size(), 1);
        QVERIFY(Alerts::shown()[0].message.contains(path + ".unreadable"));

        p.setInterval(8);
        QVERIFY(p.savePreferences());
        Loaded again;
        QCOMPARE(again.interval(), 8);
        QCOMPARE(again.errorStrArray(), QStringList({"E1", "E2"}));
        QVERIFY(!QFile::exists(path + ".unreadable.1"));
        QTest::qWait(10);
        QCOMPARE(Alerts::shown().size(), 1); // told once only
    }

    // Bytes that are no settings file at all: defaults, and the next save still works.
    void fileThatIsNotASettingsFile() {
        const QString path = SettingsStore().fileName();
        QVERIFY(TestSupport::writeFile(path,
                                       QByteArray("\x00\x01\xff\xfe garbage [[[ = \n\x89PNG", 20)));
        Loaded p;
        QVERIFY(p.interval() == 2 && p.cmdNameArray().size() == 5); // the defaults
        p.setInterval(9);
        p.savePreferences();
        QCOMPARE(Loaded().interval(), 9);
    }

    // Which entries validation drops is proven through the new-project and link sheets.
    void recentListsMoveCapAndValidate() {
        QuireonPrefs p;
        for (const char *path : {"/a", "/b", "/c", "/a"})
            p.appendTemplateFile(path);
        QCOMPARE(p.templateArray(), QStringList({"/a", "/c", "/b"}));
        const QStringList ten{"f0", "f1", "f2", "f3", "f4", "f5", "f6", "f7", "f8", "f9"};
        p.setFolderNameArray(ten);
        p.appendFolderName("new");
        QCOMPARE(p.folderNameArray(), QStringList{"new"} + ten.mid(0, 9));
        p.setSymLinkArray(QStringList{QDir::tempPath()});
        QVERIFY(p.savePreferences());
        p.validateSymLinks(); // nothing gone: the list stays and there is nothing to save
        QVERIFY(!p.dirty() && p.symLinkArray() == QStringList{QDir::tempPath()});
    }
};

QTEST_GUILESS_MAIN(TestPrefsStore)
#include "test_prefs_store.moc"
