// Tables typed or pasted into a section: rows of tabs or pipes under a
// "Table:" line or a Markdown header, read apart from the slide's lines.
#include "generator/section_charts.h"
#include "generator/section_tables.h"

#include <QTest>

namespace {

// Each table as "title: header | row | row", its cells joined by commas.
QStringList shown(const QList<SectionTables::Table>& tables)
{
    QStringList all;
    for (const SectionTables::Table& table : tables) {
        QStringList rows = {table.header.join(',')};
        for (const QStringList& row : table.rows)
            rows << row.join(',');
        all << table.title + ": " + rows.join(" | ");
    }
    return all;
}

}  // namespace

class SectionTablesTest : public QObject {
    Q_OBJECT

private slots:
    void tablesAreReadApartFromTheSlideLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("slideLines");
        QTest::addColumn<QStringList>("tables");
        // clang-format off
        QTest::newRow("tabs") << QStringList{"Who competes", "TABLE :  Rivals", "Who\tPrice", "Acme\t12", "", "After"} << QStringList{"Who competes", "After"} << QStringList{"Rivals: Who,Price | Acme,12"};
        QTest::newRow("pipes, the header line skipped") << QStringList{"Table: Rivals", "| Who | Price |", "|---|:--:|", "| Acme | 12 |"} << QStringList{} << QStringList{"Rivals: Who,Price | Acme,12"};
        QTest::newRow("an escaped pipe") << QStringList{"Table: T", "a \\| b | c"} << QStringList{} << QStringList{"T: a | b,c"};
        QTest::newRow("a Markdown table without a Table: line") << QStringList{"Intro", "| Who | Price |", "|---|---|", "| Acme | 12 |", "Not a row"} << QStringList{"Intro", "Not a row"} << QStringList{": Who,Price | Acme,12"};
        QTest::newRow("a header line without outer pipes") << QStringList{"Who | Price", "-|-", "Acme | -12"} << QStringList{} << QStringList{": Who,Price | Acme,-12"};
        QTest::newRow("ragged rows: short ones filled, long ones cut") << QStringList{"Table: T", "a\tb\tc", "1", "1\t2\t3\t4"} << QStringList{} << QStringList{"T: a,b,c | 1,, | 1,2,3"};
        QTest::newRow("a negative first cell") << QStringList{"Table: P&L", "Year\tProfit", "-120\t2027", "-0.5\t2028"} << QStringList{} << QStringList{"P&L: Year,Profit | -120,2027 | -0.5,2028"};
        QTest::newRow("two tables") << QStringList{"Table: One", "a", "", "Table: Two", "b\tc"} << QStringList{} << QStringList{"One: a", "Two: b,c"};
        QTest::newRow("one column") << QStringList{"Table: Hires", "Role", "Grower", "Driver"} << QStringList{} << QStringList{"Hires: Role | Grower | Driver"};
        QTest::newRow("no row: slide text") << QStringList{"Table: Nothing", "", "Text"} << QStringList{"Table: Nothing", "", "Text"} << QStringList{};
        QTest::newRow("at the end: slide text") << QStringList{"Text", "Table: Nothing"} << QStringList{"Text", "Table: Nothing"} << QStringList{};
        QTest::newRow("pipes without a header line: slide text") << QStringList{"a | b", "c | d"} << QStringList{"a | b", "c | d"} << QStringList{};
        // clang-format on
    }

    void tablesAreReadApartFromTheSlideLines()
    {
        QFETCH(QStringList, lines);
        const SectionTables::Parts parts = SectionTables::extract(lines);
        QTEST(parts.slideLines, "slideLines");
        QTEST(shown(parts.tables), "tables");
        QCOMPARE(parts.lineSources.size(), parts.slideLines.size());
        for (qsizetype k = 0; k < parts.lineSources.size(); ++k)
            QCOMPARE(lines.at(parts.lineSources.at(k)), parts.slideLines.at(k));
    }

    // Rows with more cells than the header are told once a table; a table
    // beside a chart leaves the chart to the chart reader, each knowing its
    // first line for the order of their slides.
    void aTableBesideAChartAndWhatIsTold()
    {
        const QStringList lines = {"Our numbers",    "Table: Wide",      "a\tb",         "1\t2\t3", "1\t2\t3", "",
                                   "Chart: Revenue", "Year: 2027, 2028", "Revenue: 1, 2"};
        const SectionTables::Parts tables = SectionTables::extract(lines);
        QCOMPARE(tables.notes.size(), 1);
        QVERIFY(tables.notes.first().startsWith("The table \"Wide\" has rows with more cells"));
        QCOMPARE(tables.tables.first().line, 1);
        const SectionCharts::Parts charts = SectionCharts::extract(tables.slideLines);
        QCOMPARE(charts.slideLines, QStringList({"Our numbers"}));
        QCOMPARE(tables.lineSources.at(charts.lineSources.first()), 0);
        QCOMPARE(charts.charts.size(), 1);
    }
};

QTEST_APPLESS_MAIN(SectionTablesTest)
#include "test_section_tables.moc"
