// How a section's lines are spread over slides, against a model of a body:
// a line takes a row for every 40 characters (an empty line one row), and
// text shows at 24 pt up to 8 rows, smaller in proportion beyond; at the
// 18 pt floor that is 10 rows.
#include "generator/section_split.h"

#include <QTest>

namespace {

int rows(const QStringList& lines)
{
    int all = 0;
    for (const QString& line : lines)
        all += std::max<int>(1, static_cast<int>((line.size() + 39) / 40));
    return all;
}

float shownSize(const QStringList& lines)
{
    return rows(lines) <= 8 ? 24.0f : 24.0f * 8 / rows(lines);
}

QStringList shortLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QString("line %1").arg(i);
    return lines;
}

}  // namespace

QStringList longLines(int count)
{
    return QStringList(count, QString(120, 'w'));
}

class SectionSplitTest : public QObject {
    Q_OBJECT

private slots:
    void linesAreSharedOutEvenlyAtOneSize_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("linesPerSlide");
        QTest::addColumn<QList<float>>("sizes");
        // clang-format off
        QTest::newRow("a typical section stays on its slide at its own size") << shortLines(6) << QList<int>{6} << QList<float>{0};
        QTest::newRow("ten lines show at exactly the floor") << shortLines(10) << QList<int>{10} << QList<float>{0};
        QTest::newRow("one over: no slide of one line") << shortLines(11) << QList<int>{6, 5} << QList<float>{24, 24};
        QTest::newRow("fifteen lines") << shortLines(15) << QList<int>{8, 7} << QList<float>{24, 24};
        QTest::newRow("twenty-one lines on three slides") << shortLines(21) << QList<int>{7, 7, 7} << QList<float>{24, 24, 24};
        QTest::newRow("forty lines, all at the smallest part's size") << shortLines(40) << QList<int>{10, 10, 10, 10} << QList<float>{19, 19, 19, 19};
        QTest::newRow("long lines take more room") << QStringList{QString(100, 'a'), QString(100, 'b'), QString(100, 'c'), QString(100, 'd'), "e"} << QList<int>{3, 2} << QList<float>{21, 21};
        QTest::newRow("long lines last: shared out by their room, not their count") << shortLines(6) + longLines(6) << QList<int>{5, 4, 3} << QList<float>{19, 19, 19};
        QTest::newRow("a line too long for a slide has one of its own, at its own size") << shortLines(5) + QStringList{QString(800, 'x')} + shortLines(3) << QList<int>{5, 1, 3} << QList<float>{24, 0, 24};
        QTest::newRow("empty lines count as lines") << QStringList{"a", "", "b", "", "c", "", "d", "", "e", "", "f", ""} << QList<int>{6, 6} << QList<float>{24, 24};
        // clang-format on
    }

    void linesAreSharedOutEvenlyAtOneSize()
    {
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, linesPerSlide);
        QFETCH(QList<float>, sizes);
        int measured = 0;
        const SectionSplit::Plan plan = SectionSplit::plan(lines, shownSize(lines), [&](const QStringList& part) {
            ++measured;
            return shownSize(part);
        });
        QCOMPARE(plan.linesPerSlide, linesPerSlide);
        QCOMPARE(plan.sizes, sizes);
        // Each slide is found in a few measurements, not one per line.
        QVERIFY2(measured <= 6 * static_cast<int>(linesPerSlide.size()), qPrintable(QString::number(measured)));
        // Whatever the split, a part that fits never shows below the floor
        // and none but a lone line has fewer than half the lines of the
        // fullest.
        const int fullest = *std::max_element(linesPerSlide.begin(), linesPerSlide.end());
        qsizetype from = 0;
        for (qsizetype p = 0; p < linesPerSlide.size(); ++p) {
            const QStringList part = lines.sliced(from, linesPerSlide.at(p));
            QVERIFY(part.size() == 1 || shownSize(part) >= SectionSplit::kFloorSize);
            QVERIFY(part.size() == 1 || 2 * part.size() >= fullest);
            from += part.size();
        }
    }

    // A part that shows at exactly the floor size fits: with a body that
    // shows ten lines at exactly 18 pt, twenty take two slides.
    void aPartAtExactlyTheFloorFits()
    {
        const auto exactly = [](const QStringList& part) { return 180.0f / static_cast<float>(part.size()); };
        const QStringList lines = shortLines(20);
        const SectionSplit::Plan plan = SectionSplit::plan(lines, exactly(lines), exactly);
        QCOMPARE(plan.linesPerSlide, QList<int>({10, 10}));
        QCOMPARE(plan.sizes, QList<float>({18, 18}));
    }
};

QTEST_MAIN(SectionSplitTest)
#include "test_section_split.moc"
