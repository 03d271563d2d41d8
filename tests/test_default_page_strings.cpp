// The default page strings read the real tools' page reports, and nothing else that the
// tools print on the way (box sizes, generated fonts, page references).
#include "document/helpers/pagereport.h"
#include "settings/localizedtext.h"
#include "settings/quireonprefs.h"

#include <QtTest>

class TestDefaultPageStrings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { Text::installTable(); }

    void readsOnlyPageReports_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("pages");
        QTest::newRow("pdflatex, pages") << 0 << "Output written on thesis.pdf (2667 pages, 1704047 bytes).\n" << 2667;
        QTest::newRow("pdflatex, one page") << 0 << "Output written on main.pdf (1 page, 11802 bytes).\n" << 1;
        QTest::newRow("latex") << 3 << "Output written on main.dvi (2 pages, 400 bytes).\n" << 2;
        QTest::newRow("overfull box") << 0 << "Overfull \\hbox (143.62262pt too wide) detected at line 12\n" << -1;
        QTest::newRow("generated font") << 0 << "Output written on ecrm0700.600gf (256 characters, 40000 bytes).\n" << -1;
        QTest::newRow("reference warning") << 0 << "LaTeX Warning: Reference `x' on page 3 undefined on input line 13.\n" << 0;
        QTest::newRow("shipped pages") << 0 << "[1{/var/lib/texmf/fonts/map/pdftex/updmap/pdftex.map}] [2]\n" << -1;
    }

    void readsOnlyPageReports()
    {
        QFETCH(int, command);
        QFETCH(QString, line);
        QFETCH(int, pages);
        QuireonPrefs prefs;
        const std::optional<PageShape> shape = PageReport::shapeOf(prefs.pageStrArray().at(command));
        QVERIFY(shape);
        QCOMPARE(PageReport::checkPage(line, *shape), pages);
    }

    void toolsWithoutPageReportCountNothing()
    {
        QuireonPrefs prefs;
        for (int command : {1, 2, 4})
            QVERIFY(!PageReport::shapeOf(prefs.pageStrArray().at(command)));
    }
};

QTEST_GUILESS_MAIN(TestDefaultPageStrings)
#include "test_default_page_strings.moc"
