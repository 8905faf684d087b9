// How a section's lines divide into its slides' text and its speaker notes,
// and which slide each note goes with.
#include "generator/section_notes.h"

#include <QTest>

namespace {

// The notes as "after line: text | text", one entry a note.
QStringList written(const QList<SectionNotes::Note>& notes)
{
    QStringList all;
    for (const SectionNotes::Note& note : notes)
        all << QString("%1: %2").arg(note.afterLine).arg(note.lines.join(" | "));
    return all;
}

}  // namespace

class SectionNotesTest : public QObject {
    Q_OBJECT

private slots:
    void notesFollowTheirLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("slideLines");
        QTest::addColumn<QStringList>("notes");
        // clang-format off
        QTest::newRow("no notes: blank lines and the last break stay") << QStringList{"Heading", "- hint", "", "Mine", ""} << QStringList{"Heading", "", "Mine", ""} << QStringList{};
        QTest::newRow("marker in any case, spaced, blank lines around it go") << QStringList{"Our team", "", "  NOTES:\t", "", "Mention Jane", "", "and her exits", ""} << QStringList{"Our team"} << QStringList{"0: Mention Jane |  | and her exits"};
        QTest::newRow("hints stay hints among the notes") << QStringList{"- write your team here", "Team", "Notes:", "- say it slowly", "Jane"} << QStringList{"Team"} << QStringList{"0: Jane"};
        QTest::newRow("only notes") << QStringList{"Notes:", "Just say it"} << QStringList{} << QStringList{"-1: Just say it"};
        QTest::newRow("a marker without notes") << QStringList{"Team", "Notes:"} << QStringList{"Team"} << QStringList{};
        QTest::newRow("a note of one line, among the lines") << QStringList{"A", "Notes: say A", "B", " notes :  say B ", "C"} << QStringList{"A", "B", "C"} << QStringList{"0: say A", "1: say B"};
        QTest::newRow("a note of one line first") << QStringList{"Notes: before all", "A"} << QStringList{"A"} << QStringList{"-1: before all"};
        QTest::newRow("not notes: a hint, no colon, two colons") << QStringList{"-Notes: x", "Notes", "Notes::", "Notes on pricing: x"} << QStringList{"Notes", "Notes::", "Notes on pricing: x"} << QStringList{};
        QTest::newRow("a table's rows may start with a minus, its hints not") << QStringList{"Table: P&L", "Year\tProfit", "2027\t-120", "- fill in", "-15\t2028", "", "- hint"} << QStringList{"Table: P&L", "Year\tProfit", "2027\t-120", "-15\t2028", ""} << QStringList{};
        QTest::newRow("a pipe table's lines: its header line and a negative first cell") << QStringList{"| Year | Profit |", "|---|---|", "-120 | 2027 |", "-x hint"} << QStringList{"| Year | Profit |", "|---|---|", "-120 | 2027 |"} << QStringList{};
        QTest::newRow("a table after the marker is notes") << QStringList{"A", "Notes:", "Table: T", "-1\t2"} << QStringList{"A"} << QStringList{"0: Table: T"};
        QTest::newRow("after the marker all is notes") << QStringList{"A", "Notes: one", "B", "Notes:", "C", "Notes: two"} << QStringList{"A", "B"} << QStringList{"0: one", "1: C | Notes: two"};
        // clang-format on
    }

    void notesFollowTheirLine()
    {
        QFETCH(QStringList, lines);
        const SectionNotes::Parts parts = SectionNotes::split(lines);
        QTEST(parts.slideLines, "slideLines");
        QTEST(written(parts.notes), "notes");
    }

    // Each note goes with the slide its line is shown on: slides of 2 and
    // 3 lines, of lines 0-1 and 2-4 shown, line 1 taken by a chart.
    void eachNoteGoesWithTheSlideItsLineIsOn_data()
    {
        QTest::addColumn<int>("afterLine");
        QTest::addColumn<int>("slide");
        QTest::newRow("before any line") << -1 << 0;
        QTest::newRow("the first slide's last line") << 2 << 0;
        QTest::newRow("a line a chart took: the shown line above it") << 3 << 0;
        QTest::newRow("the second slide's first line") << 4 << 1;
        QTest::newRow("the last line") << 6 << 1;
        QTest::newRow("lines no slide had room for") << 9 << 1;
    }

    void eachNoteGoesWithTheSlideItsLineIsOn()
    {
        QFETCH(int, afterLine);
        QFETCH(int, slide);
        const QList<int> keptLines = {0, 2, 4, 5, 6};
        const auto onSlides = SectionNotes::bySlide({{afterLine, {"say it"}}}, keptLines, {2, 3});
        QCOMPARE(onSlides.keys(), QList<int>({slide}));
    }

    void notesOnOneSlideAreABlankLineApart()
    {
        const auto onSlides =
            SectionNotes::bySlide({{0, {"one", "two"}}, {1, {"three"}}, {5, {"four"}}}, {0, 1, 5}, {});
        QCOMPARE(onSlides.value(0), QStringList({"one", "two", "", "three", "", "four"}));
    }
};

QTEST_MAIN(SectionNotesTest)
#include "test_section_notes.moc"
