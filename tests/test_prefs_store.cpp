// The settings store: kinds, defaults, saving, loading, recent lists and bad stored data.
#include "document/helpers/pagereport.h"
#include "platform/alerts.h"
#include "platform/settingsfailure.h"
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

private slots:
    void initTestCase() { Text::installTable(); }
    void init() { TestSupport::freshSettings(); }

    // The default page strings read the real tools' page reports and nothing else that
    // the tools print on the way (generated fonts, page references); the real pdflatex's
    // reports of one and two pages are read in its own test.
    void defaultPageStringsReadOnlyPageReports() {
        const auto pages = [](int command, const QString &line) {
            const auto shape = PageReport::shapeOf(QuireonPrefs().pageStrArray().at(command));
            return shape ? PageReport::checkPage(line + '\n', *shape) : -2;
        };
        QCOMPARE(pages(3, "Output written on m.dvi (2 pages, 400 bytes)."), 2);
        QCOMPARE(pages(0, "Output written on ec.600gf (256 characters)."), -1);
        QCOMPARE(pages(0, "LaTeX Warning: Reference `x' on page 3 undefined"), 0);
    }

    void keyWithoutTextComesBackAsItself() {
        QCOMPARE(Text::localized("no such key"), QStringLiteral("no such key"));
        QCOMPARE(Text::substitute("%@ and %@", {"a"}), QStringLiteral("a and %@"));
    }

    void stepCodesOutOfRangeAreEmpty() {
        QuireonPrefs p;
        p.setProcedureArray({1, 2, 6, 7, 8, 12, 13}); // the eighth step is missing: empty
        QList<int> codes;
        for (int i = 0; i < 8; ++i)
            codes << p.procedureAtIndex(i);
        QCOMPARE(codes, QList<int>({0, 1, 5, 0, -1, -5, 0, 0}));
    }

    // Every key comes back in a new process with the value and the type it was saved with;
    // a key without a value is not written. A save without changes leaves the file alone,
    // and keys of the earlier layout go at load.
    void everyKindSurvivesAFreshProcess() {
        const QString tricky = QStringLiteral("a, b; \"q\" 'x' = y\\end\nline two é ☃ @at");
        QuireonPrefs p;
        p.setCmdNameArray({tricky});
        p.setOpenExtArray({});
        p.setPageStrArray({"", "a,b", "c=d", "\"", "%n"});
        p.setLastOpenedDocument(tricky);
        p.setString(QString(), Key::TaskInputString);
        p.setNoteColor(QColor::fromRgbF(0.25f, 0.5f, 0.75f, 0.5f));
        p.setProcedureArray({2, 8, 3});
        p.setLogEncoding(4);
        p.setWindowTransparency(0.35f);
        p.setCheckNotes(false);
        p.setInterval(31);
        QVERIFY(p.savePreferences() && !p.dirty());
        QProcess probe;
        probe.start(QStringLiteral(QUIREON_BINARY_DIR "/tests/prefs_probe"), {});
        probe.waitForFinished(20000);
        const QJsonObject got = QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
        // All but the two empty recent lists; the task input there is the default.
        QCOMPARE(got.size(), qsizetype(preferenceKeys.size() - 2));
        for (auto it = p.prefsDic().cbegin(); it != p.prefsDic().cend(); ++it) {
            QCOMPARE(got[it.key()]["type"].toString(), QString::fromLatin1(it->typeName()));
            QCOMPARE(got[it.key()]["value"], QJsonValue::fromVariant(*it));
        }

        {
            QSettings store = rawStore();
            store.setValue(Key::CheckInterval, "77");
            store.setValue(Key::LastTemplate, "/old/t.tex");
            store.setValue(Key::LastSymbolicLink, "/old/l");
        }
        QVERIFY(p.savePreferences());
        QCOMPARE(Loaded().interval(), 77);
        for (const QString &key : {Key::TaskInputString, Key::LastTemplate, Key::LastSymbolicLink})
            QVERIFY2(!rawStore().contains(key), qPrintable(key));
    }

    // Stored text is read by the key's kind: out-of-range numbers are clamped, a flag reads
    // only true/1 and false/0, a list is read while every entry is of its kind and every
    // code fits an int. Anything else reads as the default (no loaded value here). The
    // next save writes what was read.
    void storedTextReadByKindAndRepaired_data() {
        TestSupport::columns<QString, QVariant, QVariant>({"key", "stored", "loaded"});
        const auto row = [](const char *name, const QString &key, const QVariant &stored,
                            const QVariant &loaded = QVariant()) {
            QTest::newRow(name) << key << stored << loaded;
        };
        row("opaque", Key::WindowTransparency, "1.0", 0.9f);
        row("negative transparency", Key::WindowTransparency, "-0.5", 0.0f);
        row("nan transparency", Key::WindowTransparency, "nan", 0.0f);
        row("no interval", Key::CheckInterval, "0", 1);
        row("huge interval", Key::CheckInterval, "2147484", 2147483);
        row("interval not a number", Key::CheckInterval, "abc");
        row("contents above", Key::WindowContents, "4", 3);
        row("contents below", Key::WindowContents, "-1", 0);
        row("false", Key::CheckNotes, "false", false);
        row("zero flag", Key::CheckNotes, " 0 ", false);
        row("true", Key::CreateExtraFolder, "true", true);
        row("one flag", Key::CreateExtraFolder, "1", true);
        row("other word", Key::CheckNotes, "no");
        row("other number", Key::CreateExtraFolder, "2");
        row("list", Key::NoteStrings, "[\"kept\"]", QVariantList{"kept"});
        row("list as text", Key::ErrorStrings, "just a string");
        row("list in a list", Key::WarningStrings, "[[\"nested\"], \"x\"]");
        row("color of three numbers", Key::ErrorColor, "[1, 0, 0]");
        row("codes at an int's ends", Key::AutoProcedures, "[3, 2147483647, -2147483647]",
            QVariantList{3, 2147483647, -2147483647});
        row("code beyond an int", Key::AutoProcedures, "[3, 2147483648]");
        row("code as text", Key::AutoProcedures, "[3, \"three\"]");
        row("text stored as a list", Key::LastOpenedFile, QStringList{"a", "b"});
    }
    void storedTextReadByKindAndRepaired() {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, loaded);
        rawStore().setValue(key, stored);
        const QVariant byDefault = QuireonPrefs().prefsDic().value(key);
        const QVariant read = loaded.isValid() ? loaded : byDefault;
        Loaded p;
        QCOMPARE(p.prefsDic().value(key), read);
        QCOMPARE(p.prefsDic().value(key).typeId(), byDefault.typeId());
        QVERIFY(p.savePreferences());
        QCOMPARE(SettingsStore().objectForKey(key).value_or(QVariant()), read);
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
        QVERIFY(p.interval() == 7 && !p.onlyStepsWithWork());
        // Saved, the choice no longer hangs on the procedure.
        QVERIFY(p.savePreferences());
        rawStore().remove(Key::AutoProcedures);
        QCOMPARE(Loaded().automaticSteps(), automatic);
    }

    // A stray line that QSettings refuses loses nothing else: the other lines are read, a
    // copy of the file as it was stays beside it, and the user hears of it once.
    void damagedFileKeepsWhatItHolds() {
        const QString path = SettingsStore().fileName();
        const QByteArray damaged = "[General]\n  [broken\nCheck%20Interval=7\n"
                                   "Document%20Window%20Size=\"{500, 400}\"\n";
        QVERIFY(TestSupport::writeFile(path, damaged));

        SettingsFailure::reset();
        SettingsFailure::install();
        Alerts::setNextAnswer(Alerts::DefaultReturn);
        Loaded p;
        QCOMPARE(p.interval(), 7);
        QCOMPARE(SettingsStore().rawString(Key::DocumentWindowSize), QStringLiteral("{500, 400}"));
        QCOMPARE(bytes(path + ".unreadable"), damaged);
        QTRY_COMPARE(Alerts::shown().size(), 1);
        QVERIFY(Alerts::shown()[0].message.contains(path + ".unreadable"));

        p.setInterval(8);
        QVERIFY(p.savePreferences());
        QCOMPARE(Loaded().interval(), 8);
        QVERIFY(!QFile::exists(path + ".unreadable.1"));
        QTest::qWait(10);
        QCOMPARE(Alerts::shown().size(), 1); // told once only
    }

    // Bytes that are no settings file at all: defaults, and the next save still works.
    void fileThatIsNotASettingsFile() {
        QVERIFY(TestSupport::writeFile(SettingsStore().fileName(),
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
