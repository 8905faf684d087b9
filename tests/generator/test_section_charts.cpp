// How a section's lines become charts: the lines that start and fill one,
// and the numbers as people type them.
#include "generator/chart_numbers.h"
#include "generator/section_charts.h"
#include "generator/section_notes.h"

#include <QTest>

class SectionChartsTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAreReadAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        // clang-format off
        QTest::newRow("integer") << "1200" << 1200.0 << "" << "";
        QTest::newRow("decimal point") << "2.5" << 2.5 << "" << "";
        QTest::newRow("decimal comma") << "2,5" << 2.5 << "" << "";
        QTest::newRow("commas group thousands") << "1,200,000" << 1200000.0 << "" << "";
        QTest::newRow("points group thousands") << "1.200.000" << 1200000.0 << "" << "";
        QTest::newRow("a point before three digits groups") << "1.200" << 1200.0 << "" << "";
        QTest::newRow("spaces group thousands") << "1 200 000" << 1200000.0 << "" << "";
        QTest::newRow("no-break spaces group thousands") << "1\u00A0200" << 1200.0 << "" << "";
        QTest::newRow("apostrophes group thousands") << "1'200'000" << 1200000.0 << "" << "";
        QTest::newRow("grouped with decimals") << "1,200.50" << 1200.5 << "" << "";
        QTest::newRow("grouped with a decimal comma") << "1.200,5" << 1200.5 << "" << "";
        QTest::newRow("thousands suffix") << "120k" << 120000.0 << "" << "";
        QTest::newRow("millions with decimals") << "1.5M" << 1500000.0 << "" << "";
        QTest::newRow("billions") << "2bn" << 2e9 << "" << "";
        QTest::newRow("billions, capital B") << "3B" << 3e9 << "" << "";
        QTest::newRow("euro after") << "120 €" << 120.0 << "" << " €";
        QTest::newRow("dollar before, with a suffix") << "$1.2M" << 1200000.0 << "$" << "";
        QTest::newRow("pound before") << "£40" << 40.0 << "£" << "";
        QTest::newRow("krona after") << "300 kr" << 300.0 << "" << " kr";
        QTest::newRow("per cent") << "12%" << 12.0 << "" << "%";
        QTest::newRow("minus") << "-12" << -12.0 << "" << "";
        QTest::newRow("minus sign") << "\u221212" << -12.0 << "" << "";
        QTest::newRow("in brackets") << "(12)" << -12.0 << "" << "";
        QTest::newRow("negative currency") << "-€5" << -5.0 << "€" << "";
        // A lone nought before one separator is no thousands group; first
        // groups of three digits are.
        QTest::newRow("a fraction with a point") << "0.125" << 0.125 << "" << "";
        QTest::newRow("a fraction with a comma") << "0,125" << 0.125 << "" << "";
        QTest::newRow("a negative fraction") << "-0.500" << -0.5 << "" << "";
        QTest::newRow("a fraction without its nought") << ".5" << 0.5 << "" << "";
        QTest::newRow("a plus sign") << "+12%" << 12.0 << "" << "%";
        QTest::newRow("three digits, then a comma group") << "120,000" << 120000.0 << "" << "";
        QTest::newRow("three digits, then a space group") << "250 000" << 250000.0 << "" << "";
        // clang-format on
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
        // Each line shown knows where it was among the lines given.
        QCOMPARE(parts.lineSources.size(), parts.slideLines.size());
        for (qsizetype k = 0; k < parts.lineSources.size(); ++k)
            QCOMPARE(section.slideLines.at(parts.lineSources.at(k)), parts.slideLines.at(k));
        QVERIFY(parts.lineSources.first() < parts.lineSources.last() - 1);
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
        QCOMPARE(section.notes.first().lines.first(), QString("Chart (line): said, not shown"));
        QString title;
        for (const auto& [typed, kind] : {std::pair{"Chart (bar): x", ChartData::Kind::Bars},
                                          std::pair{"chart ( Line ) : x", ChartData::Kind::Line}})
            QVERIFY(SectionCharts::extract({typed, "Y: 1", "S: 2"}).charts.first().data.kind == kind);
        QCOMPARE(SectionCharts::extract({"Chart:", "Y: 1", "S: 2"}).charts.first().data.description,
                 QString("Column chart: 1"));
    }

    // A value that cannot be read is a gap and is told; so is a row longer
    // than the categories.
    void badValuesAreGapsAndTold()
    {
        const SectionCharts::Parts parts =
            SectionCharts::extract({"Chart: Revenue", "Year: 2027, 2028", "Revenue: 12x, 480, 900"});
        QCOMPARE(parts.charts.size(), 1);
        const ChartData::Series& revenue = parts.charts.first().data.series.first();
        QCOMPARE(revenue.values.size(), 2);
        QVERIFY(!revenue.values.first());
        QCOMPARE(revenue.values.last(), 480.0);
        QCOMPARE(parts.unread, QStringList({"row \"Revenue\": \"12x\"",
                                            "row \"Revenue\": 3 values for 2 categories; the last 1 left out"}));
        QCOMPARE(SectionCharts::extract({"Chart: x", "Y: a, b, c", "S: 120,480,1200"})
                     .charts.first()
                     .data.series.first()
                     .values.size(),
                 3);
    }

    // Lines that show no number stay slide text, as they were before
    // charts existed; what a chart cannot show as typed is left out,
    // grouped or cut, and told in a sentence. Each limit is tried at
    // itself and one over.
    void whatAChartCannotShowIsToldAsANote_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("slideLines");
        // Categories x series of the chart made, "" for none.
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("note");
        const auto numbers = [](int count, const QString& first = "1") {
            QStringList values{first};
            for (int i = 2; i <= count; ++i)
                values << QString::number(i);
            return values.join(", ");
        };
        const auto rows = [&](int count) {
            QStringList lines{"Chart: Rows", "Year: 2027, 2028"};
            for (int i = 1; i <= count; ++i)
                lines << QString("S%1: %1, 2").arg(i);
            return lines;
        };
        const auto pie = [&](int slices) {
            QStringList names;
            for (int i = 1; i <= slices; ++i)
                names << QString("P%1").arg(i);
            return QStringList{"Chart (pie): Funds", "Use: " + names.join(", "), "Share: " + numbers(slices)};
        };
        // clang-format off
        QTest::newRow("a sentence starting with Chart:") << QStringList{"Chart: growth since 2020 is on the next page.", "Market: growing fast", "", "After"} << 4 << "" << "";
        QTest::newRow("categories alone") << QStringList{"Chart: Empty", "Year: 2027"} << 2 << "" << "";
        QTest::newRow("only zeros") << QStringList{"Chart: Flat", "Year: 2027", "S: 0, 0"} << 3 << "" << "The chart \"Flat\" has only zeros to show, so it stays slide text.";
        QTest::newRow("an unknown kind") << QStringList{"Chart (donut): Funds", "Use: A, B", "Share: 1, 2"} << 3 << "" << "\"Chart (donut): Funds\" starts no chart: the kinds are Chart:, Chart (line):, Chart (bar): and " "Chart (pie):, so it stays slide text.";
        QTest::newRow("a negative slice") << QStringList{"Chart (pie): Funds", "Use: A, B, C", "Share: 45%, -10%, 5%"} << 0 << "3x1" << "The pie \"Funds\" leaves out \"B\": a pie cannot show a share below nought.";
        QTest::newRow("8 slices") << pie(8) << 0 << "8x1" << "";
        QTest::newRow("9 slices") << pie(9) << 0 << "8x1" << "The pie \"Funds\" shows its 2 smallest slices as one, \"Other\": more than 8 " "slices cannot be told apart.";
        QTest::newRow("8 rows") << rows(8) << 0 << "2x8" << "";
        QTest::newRow("9 rows") << rows(9) << 0 << "2x8" << "The chart \"Rows\" shows its first 8 rows of 9: a slide shows no more legibly.";
        QTest::newRow("40 categories") << QStringList{"Chart: Days", "Day: " + numbers(40), "S: " + numbers(40)} << 0 << "40x1" << "";
        QTest::newRow("41 categories") << QStringList{"Chart: Days", "Day: " + numbers(41), "S: " + numbers(41)} << 0 << "40x1" << "The chart \"Days\" shows its first 40 categories of 41: a slide shows no more legibly.";
        QTest::newRow("a title of 80 characters") << QStringList{"Chart: " + QString(80, 'x'), "Y: 1", "S: 2"} << 0 << "1x1" << "";
        QTest::newRow("a title of 81 characters") << QStringList{"Chart: " + QString(50, 'x') + " " + QString(30, 'y'), "Y: 1", "S: 2"} << 0 << "1x1" << "The chart title \"" + QString(50, 'x') + "…\" is cut to 80 characters to fit its slide.";
        QTest::newRow("two currencies") << QStringList{"Chart: Sales", "Y: 2027, 2028", "S: €100, $200"} << 0 << "2x1" << "The chart \"Sales\" mixes currencies (€, $) on one axis, which shows them all as €: chart each " "currency on its own.";
        // clang-format on
    }

    // A single mark before three digits reads as the row's other values
    // use it; when they do not say, as thousands, told once for the row.
    void aMarkBeforeThreeDigitsReadsAsTheRowUsesIt_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<double>("read");
        QTest::addColumn<QString>("note");
        // clang-format off
        QTest::newRow("points as decimals") << "Pi: 3.141, 2.5" << 3.141 << "";
        QTest::newRow("a fraction's nought") << "Pi: 3.141, 0.5" << 3.141 << "";
        QTest::newRow("commas as decimals") << "Pi: 3,141, 2,75" << 3.141 << "";
        QTest::newRow("points grouping") << "Pi: 3.141, 1.200.000" << 3141.0 << "";
        QTest::newRow("the other mark as decimal") << "Pi: 3.141, 2,5" << 3141.0 << "";
        QTest::newRow("both ways") << "Pi: 3.141, 2.5, 1.200.000" << 3141.0 << "In the chart \"C\", row \"Pi\": \"3.141\" read as thousands, as the row " "does not say; write 1200 or 1.2 to say which.";
        QTest::newRow("nothing else") << "Pi: 3.141, 1,200" << 3141.0 << "In the chart \"C\", row \"Pi\": \"3.141\", \"1,200\" read as thousands, " "as the row does not say; write 1200 or 1.2 to say which.";
        QTest::newRow("four digits after") << "Pi: 3.141, 1.2345" << 3.141 << "";
        // clang-format on
    }

    void aMarkBeforeThreeDigitsReadsAsTheRowUsesIt()
    {
        QFETCH(QString, row);
        QFETCH(double, read);
        QFETCH(QString, note);
        const SectionCharts::Parts parts = SectionCharts::extract({"Chart: C", "Y: a, b, c", row});
        QCOMPARE(parts.charts.size(), 1);
        QCOMPARE(*parts.charts.first().data.series.first().values.first(), read);
        QCOMPARE(parts.notes, note.isEmpty() ? QStringList() : QStringList{note});
    }

    void whatAChartCannotShowIsToldAsANote()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, slideLines);
        QFETCH(QString, shape);
        QFETCH(QString, note);
        const SectionCharts::Parts parts = SectionCharts::extract(lines);
        QCOMPARE(parts.slideLines, lines.first(slideLines));
        QCOMPARE(parts.notes, note.isEmpty() ? QStringList() : QStringList{note});
        QVERIFY(parts.unread.isEmpty());
        QCOMPARE(parts.charts.size(), shape.isEmpty() ? 0 : 1);
        if (shape.isEmpty())
            return;
        const ChartData& data = parts.charts.first().data;
        QCOMPARE(QString("%1x%2").arg(data.categories.size()).arg(data.series.size()), shape);
        for (const ChartData::Series& series : data.series)
            QVERIFY(series.values.size() <= data.categories.size());
        // A pie keeps the total of its shares above nought, "Other" too.
        if (data.kind == ChartData::Kind::Pie) {
            double shown = 0;
            for (const std::optional<double>& share : data.series.first().values)
                shown += share.value_or(0);
            double typed = 0;
            for (const QString& share : lines.last().section(':', 1).split(','))
                typed += std::max(0.0, ChartNumbers::read(share)->value);
            QCOMPARE(shown, typed);
        }
    }
};

QTEST_GUILESS_MAIN(SectionChartsTest)
#include "test_section_charts.moc"
