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

class SectionSplitTest : public QObject {
    Q_OBJECT

private slots:
    void linesAreSpreadWholeAtTheFloor_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("room");  // slides the deck can still take
        QTest::addColumn<QList<int>>("linesPerSlide");
        QTest::addColumn<int>("leftOut");
        // clang-format off
        QTest::newRow("a typical section stays on its slide") << shortLines(6) << 50 << QList<int>{6} << 0;
        QTest::newRow("fifteen lines") << shortLines(15) << 50 << QList<int>{10, 5} << 0;
        QTest::newRow("forty lines") << shortLines(40) << 50 << QList<int>{10, 10, 10, 10} << 0;
        QTest::newRow("long lines take more room") << QStringList{QString(100, 'a'), QString(100, 'b'), QString(100, 'c'), QString(100, 'd'), "e"} << 50 << QList<int>{3, 2} << 0;
        QTest::newRow("a line too long for a slide has one of its own") << shortLines(5) + QStringList{QString(800, 'x')} + shortLines(3) << 50 << QList<int>{5, 1, 3} << 0;
        QTest::newRow("empty lines count as lines") << QStringList{"a", "", "b", "", "c", "", "d", "", "e", "", "f", ""} << 50 << QList<int>{10, 2} << 0;
        QTest::newRow("a full deck leaves lines out") << shortLines(25) << 1 << QList<int>{10, 10} << 5;
        // clang-format on
    }

    void linesAreSpreadWholeAtTheFloor()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, room);
        QFETCH(QList<int>, linesPerSlide);
        QFETCH(int, leftOut);
        QList<QStringList> slides{lines};
        int writes = 0;
        const SectionSplit::SlideWriter deck{[&](const QStringList& part) {
                                                 ++writes;
                                                 slides.last() = part;
                                                 return shownSize(part);
                                             },
                                             [&] {
                                                 if (room == 0)
                                                     return false;
                                                 --room;
                                                 slides << slides.last();
                                                 return true;
                                             }};
        const SectionSplit::Result result = SectionSplit::spread(lines, shownSize(lines), deck);
        QCOMPARE(result.linesPerSlide, linesPerSlide);
        QCOMPARE(result.linesLeftOut, leftOut);
        // What each slide holds in the end is its part, in order.
        QStringList shown;
        for (const QStringList& slide : slides)
            shown << slide;
        QCOMPARE(shown, lines.first(lines.size() - leftOut));
        // Each slide is found in a few writes, not one per line.
        QVERIFY2(writes <= 4 * static_cast<int>(slides.size()), qPrintable(QString::number(writes)));
    }

    // A part that shows at exactly the floor size fits: with a body that
    // shows ten lines at exactly 18 pt, fifteen take two slides.
    void aPartAtExactlyTheFloorFits()
    {
        const auto exactly = [](const QStringList& part) { return 180.0f / static_cast<float>(part.size()); };
        QList<QStringList> slides{{}};
        const SectionSplit::SlideWriter deck{[&](const QStringList& part) {
                                                 slides.last() = part;
                                                 return exactly(part);
                                             },
                                             [&] {
                                                 slides << QStringList();
                                                 return true;
                                             }};
        const QStringList lines = shortLines(15);
        QCOMPARE(SectionSplit::spread(lines, exactly(lines), deck).linesPerSlide, QList<int>({10, 5}));
    }
};

QTEST_MAIN(SectionSplitTest)
#include "test_section_split.moc"
