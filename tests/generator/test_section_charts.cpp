// How a section's lines become charts: the lines that start and fill one,
// and the numbers as people type them.
#include "generator/chart_numbers.h"
#include "generator/section_charts.h"
#include "generator/section_notes.h"

#include <QtTest>

class SectionChartsTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAreReadAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("integer") << "1200" << 1200.0 << ""
                                 << "";
        QTest::newRow("decimal point") << "2.5" << 2.5 << ""
                                       << "";
        QTest::newRow("decimal comma") << "2,5" << 2.5 << ""
                                       << "";
        QTest::newRow("commas group thousands") << "1,200,000" << 1200000.0 << ""
                                                << "";
        QTest::newRow("points group thousands") << "1.200.000" << 1200000.0 << ""
                                                << "";
        QTest::newRow("a point before three digits groups") << "1.200" << 1200.0 << ""
                                                            << "";
        QTest::newRow("spaces group thousands") << "1 200 000" << 1200000.0 << ""
                                                << "";
        QTest::newRow("no-break spaces group thousands") << "1\u00A0200" << 1200.0 << ""
                                                         << "";
        QTest::newRow("apostrophes group thousands") << "1'200'000" << 1200000.0 << ""
                                                     << "";
        QTest::newRow("grouped with decimals") << "1,200.50" << 1200.5 << ""
                                               << "";
        QTest::newRow("grouped with a decimal comma") << "1.200,5" << 1200.5 << ""
                                                      << "";
        QTest::newRow("thousands suffix") << "120k" << 120000.0 << ""
                                          << "";
        QTest::newRow("millions with decimals") << "1.5M" << 1500000.0 << ""
                                                << "";
        QTest::newRow("billions") << "2bn" << 2e9 << ""
                                  << "";
        QTest::newRow("billions, capital B") << "3B" << 3e9 << ""
                                             << "";
        QTest::newRow("euro after") << "120 €" << 120.0 << ""
                                    << " €";
        QTest::newRow("dollar before, with a suffix") << "$1.2M" << 1200000.0 << "$"
                                                      << "";
        QTest::newRow("pound before") << "£40" << 40.0 << "£"
                                      << "";
        QTest::newRow("krona after") << "300 kr" << 300.0 << ""
                                     << " kr";
        QTest::newRow("per cent") << "12%" << 12.0 << ""
                                  << "%";
        QTest::newRow("minus") << "-12" << -12.0 << ""
                               << "";
        QTest::newRow("minus sign") << "\u221212" << -12.0 << ""
                                    << "";
        QTest::newRow("in brackets") << "(12)" << -12.0 << ""
                                     << "";
        QTest::newRow("negative currency") << "-€5" << -5.0 << "€"
                                           << "";
        // A lone nought before one separator is no thousands group; first
        // groups of three digits are.
        QTest::newRow("a fraction with a point") << "0.125" << 0.125 << ""
                                                 << "";
        QTest::newRow("a fraction with a comma") << "0,125" << 0.125 << ""
                                                 << "";
        QTest::newRow("a negative fraction") << "-0.500" << -0.5 << ""
                                             << "";
        QTest::newRow("a fraction without its nought") << ".5" << 0.5 << ""
                                                       << "";
        QTest::newRow("a plus sign") << "+12%" << 12.0 << ""
                                     << "%";
        QTest::newRow("three digits, then a comma group") << "120,000" << 120000.0 << ""
                                                          << "";
        QTest::newRow("three digits, then a space group") << "250 000" << 250000.0 << ""
                                                          << "";
    }

    void numbersAreReadAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(double, value);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        const std::optional<ChartNumbers::Number> number = ChartNumbers::read(typed);
        QVERIFY(number);
        QCOMPARE(number->value, value);
        QCOMPARE(number->prefix, prefix);
        QCOMPARE(number->suffix, suffix);
    }

    void textThatIsNoNumberIsNotRead_data()
    {
        QTest::addColumn<QString>("typed");
        for (const char* typed :
             {"", "twelve", "12x", "1,20,000", "1.2.3", "€12$", "k", "12 k k", "1..2", "--", ".", "0 125"})
            QTest::newRow(typed) << QString::fromUtf8(typed);
        // Beyond what a number can hold: no chart shows infinity.
        QTest::newRow("overflow") << QString(300, '9') + "bn";
    }

    void textThatIsNoNumberIsNotRead()
    {
        QFETCH(QString, typed);
        QVERIFY(!ChartNumbers::read(typed));
    }

    // Two charts in a section, hints between rows, the kinds, the lines
    // that stay slide text.
    void chartLinesBecomeChartsAndLeaveTheSlideText()
    {
        const QStringList lines = {"Our numbers",
                                   "  CHART: Revenue and costs, EUR thousands ",
                                   "Year: 2027, 2028, 2029",
                                   "- the figures of the board meeting",
                                   "Revenue: 120, 480, 1 200",
                                   "Costs: €100, 300, 700",
                                   "",
                                   "Chart (pie): Use of funds",
                                   "Use: Team, Product",
                                   "Share: 60%, 40%",
                                   "Break even in 2029",
                                   "Notes:",
                                   "Chart (line): said, not shown",
                                   "Year: 2027"};
        const SectionNotes::Parts section = SectionNotes::split(lines);
        const SectionCharts::Parts parts = SectionCharts::extract(section.slideLines);
        QCOMPARE(parts.slideLines, QStringList({"Our numbers", "Break even in 2029"}));
        QVERIFY(parts.unread.isEmpty());
        QCOMPARE(parts.charts.size(), 2);
        const SectionCharts::Chart& columns = parts.charts.first();
        QCOMPARE(columns.title, QString("Revenue and costs, EUR thousands"));
        QVERIFY(columns.data.kind == ChartData::Kind::Columns);
        QCOMPARE(columns.data.categories, QStringList({"2027", "2028", "2029"}));
        QCOMPARE(columns.data.series.size(), 2);
        QCOMPARE(columns.data.series.at(0).name, QString("Revenue"));
        QCOMPARE(columns.data.series.at(0).values.last(), 1200.0);
        QCOMPARE(columns.data.series.at(1).values.first(), 100.0);
        QCOMPARE(columns.data.valuePrefix, QString("€"));
        QCOMPARE(columns.data.description, QString("Column chart: Revenue and costs, EUR thousands, 2027 to 2029"));
        const SectionCharts::Chart& pie = parts.charts.last();
        QVERIFY(pie.data.kind == ChartData::Kind::Pie);
        QCOMPARE(pie.data.valueSuffix, QString("%"));
        QCOMPARE(pie.data.description, QString("Pie chart: Use of funds, Team and Product"));
        QCOMPARE(section.notes.first(), QString("Chart (line): said, not shown"));
        QString title;
        for (const auto& [typed, kind] : {std::pair{"Chart (bar): x", ChartData::Kind::Bars},
                                          std::pair{"chart ( Line ) : x", ChartData::Kind::Line}})
            QVERIFY(SectionCharts::extract({typed, "Y: 1", "S: 2"}).charts.first().data.kind == kind);
        QCOMPARE(SectionCharts::extract({"Chart:", "Y: 1", "S: 2"}).charts.first().data.description,
                 QString("Column chart: 1"));
    }

    // A value that cannot be read is a gap and is told; so is a row longer
    // than the categories, and a chart without a series.
    void badValuesAreGapsAndTold()
    {
        const SectionCharts::Parts parts = SectionCharts::extract(
            {"Chart: Revenue", "Year: 2027, 2028", "Revenue: 12x, 480, 900", "Chart: Empty", "Year: 2027"});
        QCOMPARE(parts.charts.size(), 1);
        const ChartData::Series& revenue = parts.charts.first().data.series.first();
        QCOMPARE(revenue.values.size(), 2);
        QVERIFY(!revenue.values.first());
        QCOMPARE(revenue.values.last(), 480.0);
        QCOMPARE(parts.unread, QStringList({"row \"Revenue\": \"12x\"",
                                            "row \"Revenue\": 3 values for 2 categories; the last 1 left out",
                                            "chart \"Empty\": no rows of numbers after its categories"}));
        QCOMPARE(SectionCharts::extract({"Chart: x", "Y: a, b, c", "S: 120,480,1200"})
                     .charts.first()
                     .data.series.first()
                     .values.size(),
                 3);
    }
};

QTEST_GUILESS_MAIN(SectionChartsTest)
#include "test_section_charts.moc"
