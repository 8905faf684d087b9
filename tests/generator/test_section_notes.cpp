// How a section's lines divide into its slide's text and its speaker notes.
#include "generator/section_notes.h"

#include <QTest>

class SectionNotesTest : public QObject {
    Q_OBJECT

private slots:
    void linesAfterTheNotesLineAreNotes_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("slideLines");
        QTest::addColumn<QStringList>("notes");
        // clang-format off
        QTest::newRow("no notes: blank lines and the last break stay") << QStringList{"Heading", "- hint", "", "Mine", ""} << QStringList{"Heading", "", "Mine", ""} << QStringList{};
        QTest::newRow("marker in any case, spaced, blank lines around it go") << QStringList{"Our team", "", "  NOTES:\t", "", "Mention Jane", "", "and her exits", ""} << QStringList{"Our team"} << QStringList{"Mention Jane", "", "and her exits"};
        QTest::newRow("hints stay hints among the notes") << QStringList{"- write your team here", "Team", "Notes:", "- say it slowly", "Jane"} << QStringList{"Team"} << QStringList{"Jane"};
        QTest::newRow("only notes") << QStringList{"Notes:", "Just say it"} << QStringList{} << QStringList{"Just say it"};
        QTest::newRow("a marker without notes") << QStringList{"Team", "Notes:"} << QStringList{"Team"} << QStringList{};
        QTest::newRow("not a marker: words after it, or a hint") << QStringList{"Notes: call Jane", "-Notes:", "Notes", "Notes::"} << QStringList{"Notes: call Jane", "Notes", "Notes::"} << QStringList{};
        QTest::newRow("the first marker counts") << QStringList{"A", "Notes:", "B", "notes:", "C"} << QStringList{"A"} << QStringList{"B", "notes:", "C"};
        // clang-format on
    }

    void linesAfterTheNotesLineAreNotes()
    {
        QFETCH(QStringList, lines);
        const SectionNotes::Parts parts = SectionNotes::split(lines);
        QTEST(parts.slideLines, "slideLines");
        QTEST(parts.notes, "notes");
    }
};

QTEST_MAIN(SectionNotesTest)
#include "test_section_notes.moc"
