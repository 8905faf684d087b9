// Deck generation's rules and step order, with a scripted engine.
#include "generator/deck_generation.h"
#include "plan/plan_sections.h"
#include "shell/settings_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fakes.h"
#include "tests/support/file_bytes.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <limits>

namespace {

// A clock that races ahead, so the half-second pauses take no time.
class FastClock : public Clock {
public:
    float now = 1000.0f;
    float secondsSinceMidnight() override { return now += 1.0f; }
};

// A clock that moves on by a fixed step at every reading.
class SteppingClock : public Clock {
public:
    SteppingClock(float start, float step) : mNow(start), mStep(step) {}
    int readings = 0;
    float secondsSinceMidnight() override
    {
        ++readings;
        const float now = mNow;
        mNow += mStep;
        if (mNow >= 86400.0f)
            mNow -= 86400.0f;
        return now;
    }

private:
    float mNow;
    float mStep;
};

// "Line 1", "Line 2", ... up to count.
QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QString("Line %1").arg(i);
    return lines;
}

}  // namespace

class DeckGenerationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir mProgram;
    QTemporaryDir mTemp;

    // The template beside the program, logos among the temporary files.
    DeckGeneration::GenerationServices services(FakeEngine& engine, FakeDialogs& dialogs, Clock& clock)
    {
        return {engine, dialogs, clock, mProgram.path(), mTemp.path()};
    }

    // Generates Acme's plan in the store into target, without waiting.
    void generateForAcme(SettingsStore& store, const QString& target, FakeEngine& engine, FakeDialogs& dialogs)
    {
        FastClock clock;
        DeckGeneration::generateBusinessPlan(
            target,
            {[] { return QString("Acme"); }, [] { return QString(); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            services(engine, dialogs, clock));
    }

private slots:
    void initTestCase() { qputenv("TEMP", mTemp.path().toLocal8Bit()); }

    // Generation copies the template beside the program; the fake engine
    // never reads it, so any file will do.
    void init() { QFile::copy(QFINDTESTDATA("test_deck_generation.cpp"), mProgram.filePath("business_plan.ppt")); }

    // Each written line ends with CR LF; a line whose first character is "-"
    // is a hint and never reaches the slide.
    void sectionLinesStartingWithADashAreDroppedAndEveryLineEndsWithCrLf()
    {
        SettingsStore store(mTemp.filePath("lines.json"));
        const QList<std::pair<QString, QString>> sections = {
            {"Heading\r\n- hint\r\nMine", "Heading\r\nMine\r\n"},
            {"- a\r\n- b", ""},
            {"Ends\r\n", "Ends\r\n\r\n"},
            {" - kept\r\n-dropped", " - kept\r\n"},
            // Lines ending in LF or a lone CR are lines too.
            {"a\nb\n- hint\rc", "a\r\nb\r\nc\r\n"},
            {"\r\n", "\r\n\r\n"},
        };
        for (int k = 0; k < sections.size(); ++k)
            store.saveSetting(QString("FirstStatement_%1").arg(k), sections[k].first);
        FakeEngine engine;
        FakeDialogs dialogs;
        FastClock clock;
        DeckGeneration::generateBusinessPlan(
            mTemp.filePath("ps10101010.ppt"),
            {[] { return QString(); }, [] { return QString(); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            services(engine, dialogs, clock));
        QStringList written;
        for (int slide = 2; slide < 2 + sections.size(); ++slide)
            written << engine.state.slides.at(slide - 1).value("Body");
        QCOMPARE(written, [&] {
            QStringList expected;
            for (const auto& section : sections)
                expected << section.second;
            return expected;
        }());
    }

    void stepsFollowTheSlideMapInOrder()
    {
        SettingsStore store(mTemp.filePath("store.json"));
        store.saveSetting("FirstStatement_0", "Heading\r\n- hint");
        store.saveSetting("SecondStatement_4", "Last");
        // A slide shows 150 lines: a section of as many is written whole,
        // one longer is cut after them and reported.
        QStringList lines;
        for (int i = 1; i <= 151; ++i)
            lines << QString::number(i);
        store.saveSetting("FirstStatement_1", lines.first(150).join("\r\n"));
        store.saveSetting("FirstStatement_2", lines.join("\r\n"));
        // Tabs reach the slide, other control characters do not; a section
        // of exactly as many characters as a text box holds is whole.
        store.saveSetting("FirstStatement_3", "Price\tper box\a");
        const QString full(DeckGeneration::maxSlideTextLength - 1, 'x');
        store.saveSetting("FirstStatement_4", full);
        FakeEngine engine;
        engine.state.linesAtFullSize = 1000;  // a body that never shrinks: no section goes on
        FakeDialogs dialogs;
        FastClock clock;
        const QString target = mTemp.filePath("ps12345678.ppt");

        DeckGeneration::generateBusinessPlan(
            target,
            {[] { return QString("Acme"); }, [] { return QString("Plan"); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            services(engine, dialogs, clock));

        QCOMPARE(dialogs.reportedLines(), QList<int>({220}));
        QVERIFY(
            dialogs.errorReports.first().startsWith("The section on slide 4 (\"1\") is too long for a slide, "
                                                    "which shows 150 lines"));
        QVERIFY(QFile::exists(target));
        QVERIFY(QFile::exists(mTemp.filePath("business_plan.ppt")));
        const QStringList& calls = engine.state.calls;
        QCOMPARE(calls.mid(0, 5),
                 QStringList({"CreateObject", "GetObject", "Visible 1", "Open " + target + " 1", "Shape 1 Title"}));
        QVERIFY(calls.contains("setText Acme"));
        QVERIFY(calls.contains("setText Heading\r\n"));
        QVERIFY(calls.contains("setText Last\r\n"));
        QVERIFY(calls.contains("setText " + lines.first(150).join("\r\n") + "\r\n"));
        QVERIFY(calls.contains("setText " + lines.first(150).join("\r\n")));
        QVERIFY(calls.contains("setText Price\tper box\r\n"));
        QVERIFY(calls.contains("setText " + full + "\r\n"));
        QCOMPARE(calls.count("setText "), 5);  // sections never written are cleared
        QCOMPARE(calls.count("Unselect"), 14);
        QCOMPARE(calls.mid(calls.size() - 5), QStringList({"Slide 1", "Save", "Close", "Quit", "Quit"}));
        QCOMPARE(calls.indexOf("Shape 12 Body") > calls.indexOf("Shape 11 Body"), true);
    }

    // Whoever asked for the deck while it is still open gets it once it is
    // saved and before it closes.
    void theSavedDeckIsHandedOverBeforeItCloses()
    {
        SettingsStore store(mTemp.filePath("handed.json"));
        FakeEngine engine;
        FakeDialogs dialogs;
        FastClock clock;
        DeckGeneration::GenerationServices handing = services(engine, dialogs, clock);
        handing.whileSaved = [&](PresentationApplication&, Presentation&) { engine.state.calls << "Handed over"; };
        DeckGeneration::generateBusinessPlan(
            mTemp.filePath("ps30303030.ppt"),
            {[] { return QString("Acme"); }, [] { return QString(); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            handing);
        const QStringList& calls = engine.state.calls;
        QCOMPARE(calls.mid(calls.size() - 5), QStringList({"Save", "Handed over", "Close", "Quit", "Quit"}));
        QVERIFY(dialogs.errorReports.isEmpty());
    }

    // A section too long for its slide at the floor size goes on on copies of
    // the slide, inserted after it; the later sections move on with them,
    // and every section slide shows the company name in its footer. A
    // typical plan keeps its twelve slides.
    void aLongSectionGoesOnOnCopiesOfItsSlide()
    {
        SettingsStore store(mTemp.filePath("long.json"));
        const QStringList lines = numberedLines(25);
        QStringList reports;
        QList<QMap<QString, QString>> slidesShown;
        const auto generate = [&] {
            FakeEngine engine;  // shows 10 lines at the floor
            FakeDialogs dialogs;
            generateForAcme(store, mTemp.filePath("ps20202020.ppt"), engine, dialogs);
            reports << dialogs.errorReports;
            slidesShown = engine.state.slides;
            return engine.state.calls;
        };
        store.saveSetting("FirstStatement_2", lines.first(6).join("\r\n"));
        QStringList calls = generate();
        QVERIFY(!calls.join('\n').contains("Duplicate") && !calls.contains("UpdateSlideTotals"));

        // One slide more, for lines that end in LF alone, counts in the
        // totals too.
        store.saveSetting("FirstStatement_2", lines.first(15).join("\n"));
        calls = generate();
        QCOMPARE(calls.filter("Duplicate"), QStringList({"Duplicate 4"}));
        QVERIFY(calls.contains("UpdateSlideTotals"));

        // Each note goes with the slide the line it follows is on (the
        // tenth line opens the second slide), and never onto a slide. The
        // 25 lines are shared out 9, 9 and 7, all at the size the fullest
        // part shows at.
        store.saveSetting("FirstStatement_2",
                          (lines.first(11) + QStringList{"Notes: on eleven"} + lines.mid(11)).join("\r\n")
                              + "\r\n\r\nnotes:\r\nSay hello\r\n- hint\r\nBye");
        store.saveSetting("Spelling Language", "de_AT");
        calls = generate();
        QCOMPARE(calls.filter("Duplicate"), QStringList({"Duplicate 4", "Duplicate 5"}));
        QCOMPARE(calls.filter("Notes"), QStringList({"Notes 5", "Notes 6"}));
        QVERIFY(calls.indexOf("Notes 5") > calls.indexOf("Duplicate 5"));
        QCOMPARE(slidesShown.at(4).value("Notes"), QString("on eleven"));
        QCOMPARE(slidesShown.at(5).value("Notes"), QString("Say hello\r\nBye"));
        const auto body = [&](int slide) { return slidesShown.at(slide - 1).value("Body"); };
        QCOMPARE(body(4), lines.first(9).join("\r\n") + "\r\n");
        QCOMPARE(body(5), lines.mid(9, 9).join("\r\n") + "\r\n");
        QCOMPARE(body(6), lines.mid(18).join("\r\n") + "\r\n");
        QCOMPARE(calls.filter(QRegularExpression("^Size ")), QStringList(3, "Size 21"));
        for (int part = 1; part <= 3; ++part)
            QCOMPARE(slidesShown.at(part + 2).value("Title"), QString(" (%1/3)").arg(part));
        QCOMPARE(slidesShown.size(), 14);
        QVERIFY(!slidesShown.at(3).contains("Notes"));
        QCOMPARE(calls.filter("Footer"), [] {
            QStringList footers;
            for (int slide : {2, 3, 4, 7, 8, 9, 10, 11, 12, 13, 14})
                footers << QString("Footer %1 Acme").arg(slide);
            return footers;
        }());
        QCOMPARE(calls.mid(calls.indexOf("UpdateSlideTotals"), 4),  // no plan title: the company
                 QStringList({"UpdateSlideTotals", "Title Acme", "Language de_AT", "Slide 1"}));
        QVERIFY(reports.isEmpty());
    }

    // Each chart goes on a copy of the section's last text slide, after
    // its continuation and after an earlier section's, titled with the
    // section's title and its own; each is made on a spare copy of the text
    // slide, copied again for the next, so that each has the text slide's
    // look; the last spare is taken out. Numbers that cannot be
    // read are told once, at the end, as a note; a failing chart is told
    // once at its step.
    void chartsGoOnSlidesOfTheirOwnAfterTheSection()
    {
        SettingsStore store(mTemp.filePath("charts.json"));
        store.saveSetting("FirstStatement_1", numberedLines(15).join("\r\n"));
        store.saveSetting("FirstStatement_2", numberedLines(15).join("\r\n")
                                                  + "\r\n\r\nChart: Growth\r\nYear: 2027, 2028\r\nRevenue: 12x, "
                                                    "480\r\n\r\nChart (pie): Funds\r\nUse: Team, Product\r\nShare: 60%, 40%");
        const auto generate = [&](FakeEngine& engine, FakeDialogs& dialogs) {
            generateForAcme(store, mTemp.filePath("ps50505050.ppt"), engine, dialogs);
        };
        FakeEngine engine;
        FakeDialogs dialogs;
        generate(engine, dialogs);
        const QStringList calls = engine.state.calls;
        QCOMPARE(calls.filter(QRegularExpression("^(Duplicate|Chart)")),
                 QStringList({"Duplicate 3", "Duplicate 5", "Duplicate 6", "Duplicate 7", "Chart 7", "Duplicate 8",
                              "Chart 8"}));
        QCOMPARE(calls.filter("Delete"), QStringList({"Delete 9"}));
        const auto& slides = engine.state.slides;
        QCOMPARE(slides.size(), 16);
        QCOMPARE(slides.at(6).value("Title"), QString("Market Summary: Growth"));
        QCOMPARE(slides.at(6).value("Chart"), QString("columns: 2027 2028 | Revenue gap 480 [ ]"));
        QVERIFY(!slides.at(6).contains("Body"));
        QCOMPARE(slides.at(7).value("Title"), QString("Market Summary: Funds"));
        QCOMPARE(slides.at(7).value("Chart"), QString("pie: Team Product | Share 60 40 [ %]"));
        QCOMPARE(slides.at(5).value("Body"), numberedLines(15).mid(8).join("\r\n") + "\r\n");
        QVERIFY(calls.contains("UpdateSlideTotals"));
        QVERIFY(dialogs.errorReports.isEmpty());
        QCOMPARE(dialogs.messages, QStringList({"Some of the plan's chart numbers could not be read and are left out "
                                                "of their charts (Market Summary, row \"Revenue\": \"12x\"). Write "
                                                "them as numbers, such as 1200, 1.5M or €120k, to chart them."}));

        FakeEngine failing;
        failing.state.chartFails = true;
        FakeDialogs told;
        generate(failing, told);
        QCOMPARE(told.reportedLines(), QList<int>({142 + 28 * 2 + 25}));
        QVERIFY(told.errorReports.first().contains("no longer running"));
    }

    // Tables and charts go on slides of their own in the order typed; a
    // table longer than a slide goes on with its header on each part,
    // counted in the titles; its rows that start with a minus are rows,
    // not hints; one too wide for 18 pt is told once at the end.
    void tablesGoOnSlidesOfTheirOwnInTheOrderTyped()
    {
        SettingsStore store(mTemp.filePath("tables.json"));
        QStringList rows = {"Table: Hiring", "Year\tHires\tCost"};
        for (int row = 1; row <= 23; ++row)
            rows << QString("%1\t%2\t-%3").arg(2026 + row).arg(row).arg(row * 10);
        store.saveSetting("SecondStatement_1",
                          "Costs fall\r\n- a hint\r\n| Who | Price |\r\n|---|---|\r\n| Acme | "
                          "-120 |\r\n\r\nChart: Growth\r\nYear: 2027, 2028\r\nRevenue: 1, 2\r\n\r\n"
                              + rows.join("\r\n"));
        FakeEngine engine;
        engine.state.tableRowsPerSlide = 10;
        engine.state.tableTextSize = 14;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps60606060.ppt"), engine, dialogs);
        const auto& slides = engine.state.slides;
        QCOMPARE(slides.size(), 17);
        QCOMPARE(slides.at(8).value("Body"), QString("Costs fall\r\n"));
        QCOMPARE(slides.at(9).value("Title"), QString("Financial Plan"));
        QCOMPARE(slides.at(9).value("Table"), QString("Who | Price || Acme | -120"));
        QCOMPARE(slides.at(10).value("Title"), QString("Financial Plan: Growth"));
        QVERIFY(slides.at(10).contains("Chart"));
        for (int part = 1; part <= 3; ++part) {
            const QMap<QString, QString>& slide = slides.at(10 + part);
            QCOMPARE(slide.value("Title"), QString("Financial Plan: Hiring (%1/3)").arg(part));
            QVERIFY2(slide.value("Table").startsWith("Year | Hires | Cost || "), qPrintable(slide.value("Table")));
            QVERIFY(!slide.contains("Body"));
        }
        QVERIFY(slides.at(11).value("Table").endsWith("|| 2036 | 10 | -100"));
        QVERIFY(slides.at(13).value("Table").endsWith("|| 2049 | 23 | -230"));
        QVERIFY(slides.at(14).contains("Body") && !slides.at(14).contains("Table"));
        QVERIFY(engine.state.calls.contains("UpdateSlideTotals"));
        QVERIFY(dialogs.errorReports.isEmpty());
        FakeEngine failing;
        failing.state.chartFails = true;
        FakeDialogs told;
        generateForAcme(store, mTemp.filePath("ps60606061.ppt"), failing, told);
        QCOMPARE(told.reportedLines(), QList<int>({142 + 28 * 7 + 25}));
        QCOMPARE(dialogs.messages,
                 QStringList({"2 tables are too wide for a slide at 18 pt, and show smaller (\"Financial Plan\" at 14 "
                              "pt; \"Financial Plan: Hiring\" at 14 pt). Shorten their cells or leave out a column to "
                              "show them larger."}));
    }

    // The charts that fit fill the deck up to its 60 slides, from a
    // section's first chart on; those beyond are counted and named in one
    // note.
    void chartsBeyondSixtySlidesAreCountedInOneNote_data()
    {
        QTest::addColumn<int>("charts");
        QTest::addColumn<int>("tableRows");  // of a table typed after the charts; 10 fit a slide
        QTest::addColumn<QString>("told");
        // The title slide and eleven sections leave room for 48 charts.
        // clang-format off
        QTest::newRow("exactly filling the deck") << 48 << 0 << QString();
        QTest::newRow("one over") << 49 << 0 << "1 chart is left out (\"Mission Statement: C49\"). Shorten the plan " "to keep it.";
        QTest::newRow("two over") << 50 << 0 << "2 charts are left out (\"Mission Statement: C49\", \"Mission " "Statement: C50\"). Shorten the plan to keep them.";
        QTest::newRow("a table filling the last slide") << 47 << 10 << QString();
        QTest::newRow("a table one over") << 48 << 3 << "1 table is left out (\"Mission Statement: T\"). Shorten the plan to keep it.";
        QTest::newRow("a table's second slide one over") << 47 << 11 << "1 table is left out (\"Mission Statement: T, its last 1 rows\"). Shorten the plan to keep it.";
        QTest::newRow("a chart and a table over") << 49 << 2 << "2 charts and tables are left out (\"Mission Statement: C49\", \"Mission Statement: T\"). Shorten the plan to keep them.";
        // clang-format on
    }

    void chartsBeyondSixtySlidesAreCountedInOneNote()
    {
        QFETCH(int, charts);
        QFETCH(int, tableRows);
        QFETCH(QString, told);
        SettingsStore store(mTemp.filePath("many-charts.json"));
        QStringList section;
        for (int c = 1; c <= charts; ++c)
            section << QString("Chart: C%1\r\nYear: 2027\r\nRevenue: %1\r\n").arg(c);
        if (tableRows > 0) {
            section << "Table: T\r\nYear\tHires";
            for (int row = 1; row <= tableRows; ++row)
                section.last() += QString("\r\n%1\t%2").arg(2026 + row).arg(row);
        }
        store.saveSetting("FirstStatement_0", section.join("\r\n"));
        FakeEngine engine;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps31313131.ppt"), engine, dialogs);
        QCOMPARE(engine.state.slides.size(), 60);
        QCOMPARE(engine.state.slides.at(2).value("Title"), QString("Mission Statement: C1"));
        QCOMPARE(engine.state.slides.at(49).value("Title"),
                 charts >= 48 ? QString("Mission Statement: C48") : QString("Mission Statement: T"));
        QVERIFY(dialogs.errorReports.isEmpty());
        QCOMPARE(dialogs.messages,
                 told.isEmpty() ? QStringList() : QStringList{"The plan is too long for a deck of 60 slides: " + told});
    }

    // The plan's logo is placed before the title slide's texts, described
    // by the company's name; a logo whose copy went is told, and the deck is
    // made without it.
    void theLogoIsPlacedOrItsLossTold()
    {
        SettingsStore store(mTemp.filePath("logo.json"));
        const QString logo = mTemp.filePath("3f2a.png");
        QFile::copy(QFINDTESTDATA("test_deck_generation.cpp"), logo);
        store.saveSetting("Logo", "3f2a.png");
        FakeEngine engine;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps60606060.ppt"), engine, dialogs);
        const QStringList& calls = engine.state.calls;
        QCOMPARE(calls.filter("PlaceLogo"), QStringList({"PlaceLogo 3f2a.png \"Acme logo\""}));
        QVERIFY(calls.indexOf("PlaceLogo 3f2a.png \"Acme logo\"") < calls.indexOf("setText Acme"));
        QVERIFY(dialogs.errorReports.isEmpty());

        QFile::remove(logo);
        engine.state.calls.clear();
        generateForAcme(store, mTemp.filePath("ps60606060.ppt"), engine, dialogs);
        QVERIFY(calls.filter("PlaceLogo").isEmpty());
        QCOMPARE(dialogs.reportedLines(), QList<int>({117}));
        QVERIFY(dialogs.errorReports.first().contains("Deck > Logo"));
        QVERIFY(calls.contains("Save"));
    }

    // The design the plan chose is the template filled; one this program
    // does not know is the first design.
    void theChosenDesignsTemplateIsFilled_data()
    {
        QTest::addColumn<QString>("design");
        QTest::addColumn<QString>("filled");
        // clang-format off
        QTest::newRow("none") << "" << "business_plan.ppt";
        QTest::newRow("graphite") << "graphite" << "business_plan_graphite.ppt";
        QTest::newRow("unknown") << "marble" << "business_plan.ppt";
        // clang-format on
    }

    void theChosenDesignsTemplateIsFilled()
    {
        QFETCH(QString, design);
        QFETCH(QString, filled);
        for (const char* name : {"business_plan.ppt", "business_plan_graphite.ppt"}) {
            QFile::remove(mProgram.filePath(name));
            writeFile(mProgram.filePath(name), name);
        }
        SettingsStore store(mTemp.filePath("design.json"));
        store.saveSetting("Design", design);
        FakeEngine engine;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps70707070.ppt"), engine, dialogs);
        QCOMPARE(readFile(mTemp.filePath("ps70707070.ppt")), filled.toLatin1());
    }

    // Notes are filtered as slide text is, and notes longer than a notes
    // page holds keep their whole first lines and are told.
    void notesLongerThanAPageAreCutAtWholeLinesAndTold()
    {
        SettingsStore store(mTemp.filePath("notes.json"));
        const QString line(99, 'n');  // with its line break, 100 characters
        QStringList notes{"Say\ahello"};
        for (int i = 0; i < 400; ++i)
            notes << line;
        store.saveSetting("FirstStatement_0", "Text\nNotes:\n" + notes.join("\n"));
        FakeEngine engine;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps40404040.ppt"), engine, dialogs);
        const QString written = engine.state.slides.at(1).value("Notes");
        QCOMPARE(written, (QStringList{"Sayhello"} + notes.mid(1, 327)).join("\r\n"));
        QCOMPARE(dialogs.errorReports.size(), 1);
        QVERIFY2(dialogs.errorReports.first().contains("The notes of the section on slide 2 (\"Sayhello\") are too "
                                                       "long: a slide's notes hold 32767 characters"),
                 qPrintable(dialogs.errorReports.first()));
    }

    // A plan that would need more than 60 slides fills 60 and is told once;
    // its charts count.
    void aPlanBeyondSixtySlidesIsCutAtWholeLinesAndToldOnce()
    {
        SettingsStore store(mTemp.filePath("huge.json"));
        const QStringList lines = numberedLines(60);
        for (const QString& key : allSectionKeys())
            store.saveSetting(key, lines.join("\r\n"));
        // A chart beyond the 60 slides is left out, told in a note of its own.
        store.saveSetting(allSectionKeys().last(),
                          "Chart: Growth\r\nYear: 2027\r\nRevenue: 1\r\n" + lines.join("\r\n"));
        FakeEngine engine;
        FakeDialogs dialogs;
        generateForAcme(store, mTemp.filePath("ps30303030.ppt"), engine, dialogs);
        QCOMPARE(engine.state.slides.size(), 60);
        QVERIFY(engine.state.calls.filter("Chart").isEmpty());
        QCOMPARE(dialogs.messages, QStringList{"The plan is too long for a deck of 60 slides: 1 chart is left out "
                                               "(\"Key Issues: Growth\"). Shorten the plan to keep it."});
        QCOMPARE(dialogs.reportedLines().size(), 1);
        QVERIFY2(dialogs.errorReports.first().startsWith("The plan is too long for a deck of 60 slides: from the "
                                                         "section on slide 56 (\"Line 1\") on"),
                 qPrintable(dialogs.errorReports.first()));
        // The last section keeps the lines its own slide shows.
        QCOMPARE(engine.state.slides.at(59).value("Body"), lines.first(10).join("\r\n") + "\r\n");
    }

    // An engine that cannot start is told once; the steps that need it are
    // skipped without a word, and the template is still copied.
    void withoutAnEngineOneReportAndTheFileIsStillCopied()
    {
        SettingsStore store(mTemp.filePath("store.json"));
        FakeEngine engine;
        engine.state.installed = false;
        FakeDialogs dialogs;
        FastClock clock;
        const QString target = mTemp.filePath("ps87654321.ppt");

        DeckGeneration::generateBusinessPlan(
            target,
            {[] { return QString(); }, [] { return QString(); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            services(engine, dialogs, clock));

        QVERIFY(QFile::exists(target));
        QCOMPARE(dialogs.reportedLines(), QList<int>({100}));
        QVERIFY(dialogs.errorReports[0].contains("LessonPlan.generateBusinessPlan at line 100"));
        QCOMPARE(engine.state.calls, QStringList({"CreateObject"}));
    }

    void waitSecondsYieldsOnceWaitsAcrossMidnightAndRejectsNonsense()
    {
        SteppingClock clock(86399.8f, 0.05f);
        int yields = 0;
        QTimer::singleShot(0, [&] { ++yields; });
        QTimer::singleShot(0, [&] { ++yields; });
        float half = 0.5f;
        DeckGeneration::waitSeconds(half, clock);
        QCOMPARE(yields, 2);  // both queued events ran in the one yield
        QVERIFY(clock.readings >= 11);

        SteppingClock still(100.0f, 0.0f);
        float zero = 0.0f;
        DeckGeneration::waitSeconds(zero, still);

        float infinite = std::numeric_limits<float>::infinity();
        float notANumber = std::numeric_limits<float>::quiet_NaN();
        float huge = std::numeric_limits<float>::max();
        float aDay = 86400.0f;
        SteppingClock any(100.0f, 1.0f);
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(infinite, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(notANumber, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(huge, any));
        QVERIFY_THROWS_EXCEPTION(Failure, DeckGeneration::waitSeconds(aDay, any));
    }
};

QTEST_MAIN(DeckGenerationTest)
#include "test_deck_generation.moc"
