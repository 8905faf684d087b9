// A business plan document made into the plan: headings matched to sections
// in four languages, text placed under the deepest heading that names a
// section, prose cut to first sentences with the paragraph in the notes,
// nothing read as one of the plan's own forms, and every word placed or
// counted as left out.
#include "generator/section_charts.h"
#include "generator/section_notes.h"
#include "generator/section_tables.h"
#include "plan/plan_import.h"
#include "plan/plan_sections.h"
#include "plan/section_names.h"
#include "plan/sentences.h"

#include <QTest>

namespace {

using Kind = DocumentBlock::Kind;

DocumentBlock heading(int level, const QString& text)
{
    return {Kind::Heading, text, level};
}
DocumentBlock paragraph(const QString& text, bool bold = false)
{
    return {Kind::Paragraph, text, 0, bold};
}

int sectionNamed(const QString& title)
{
    const QList<PlanSection> all = allSections();
    for (int i = 0; i < all.size(); ++i)
        if (all.at(i).title() == title)
            return i;
    return title.isEmpty() ? -1 : -100;
}

QString words(int count, const QString& word = "word")
{
    QStringList all;
    for (int i = 0; i < count; ++i)
        all << word;
    return all.join(' ');
}

}  // namespace

class PlanImportTest : public QObject {
    Q_OBJECT

private slots:
    void headingsNameTheirSection_data()
    {
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("section");
        // clang-format off
        QTest::newRow("the caption") << "Mission Statement" << "Mission Statement";
        QTest::newRow("a common name, capitals") << "MANAGEMENT TEAM" << "The Team";
        QTest::newRow("our people") << "Our People" << "The Team";
        QTest::newRow("numbered, a colon") << "3.2 Market analysis:" << "Market Summary";
        QTest::newRow("roman numbering") << "IV. Competitive Analysis" << "Competition";
        QTest::newRow("lettered") << "a) Vision" << "Mission Statement";
        QTest::newRow("products and services") << "Products and Services" << "Business Concept";
        QTest::newRow("company description") << "Company Description" << "Business Concept";
        QTest::newRow("projections") << "Financial Projections" << "Financial Plan";
        QTest::newRow("funding request") << "Funding Request" << "Resource Requirements";
        QTest::newRow("use of funds") << "5. Use of Funds" << "Resource Requirements";
        QTest::newRow("risks") << "Risks" << "Risk & Rewards";
        QTest::newRow("an ampersand") << "Goals & Objectives" << "Goals & Objectives";
        QTest::newRow("milestones") << "Milestones" << "Goals & Objectives";
        QTest::newRow("held as whole words") << "Our Target Market in 2027" << "Market Summary";
        QTest::newRow("the longest name decides") << "Risks and Opportunities" << "Risk & Rewards";
        QTest::newRow("then the first in the heading") << "Target Market and Competitors" << "Market Summary";
        QTest::newRow("a word inside another is none") << "Marketing Plan" << "";
        QTest::newRow("executive summary") << "Executive Summary" << "";
        QTest::newRow("appendix") << "Appendix A" << "";
        QTest::newRow("German") << "2. Wettbewerbsanalyse" << "Competition";
        QTest::newRow("German, two names") << "Chancen und Risiken" << "Risk & Rewards";
        QTest::newRow("German, umlaut") << "Gründerteam" << "The Team";
        QTest::newRow("French") << "Étude de marché" << "Market Summary";
        QTest::newRow("French, an apostrophe") << "L'équipe" << "The Team";
        QTest::newRow("French, accents left off") << "Equipe de direction" << "The Team";
        QTest::newRow("Spanish") << "Análisis de la competencia" << "Competition";
        QTest::newRow("Spanish, capitals") << "ANÁLISIS DAFO" << "Risk & Rewards";
        // clang-format on
    }

    void headingsNameTheirSection()
    {
        QFETCH(QString, heading);
        QFETCH(QString, section);
        QCOMPARE(SectionNames::sectionOf(heading), sectionNamed(section));
    }

    // The deepest heading that names a section takes its own text; one that
    // names none gives its text to the nearest above it that does, or
    // leaves it unplaced; two for one section are appended in order.
    void textGoesUnderTheDeepestHeadingThatNamesASection()
    {
        ImportedDocument document;
        document.blocks = {paragraph("Fjordlight AS"),
                           heading(1, "Executive Summary"),
                           paragraph("We farm greens."),
                           heading(1, "Market Analysis"),
                           paragraph("The market grows."),
                           heading(2, "Industry Trends"),
                           paragraph("Trends favour local food."),
                           heading(3, "Competitors"),
                           paragraph("Two importers."),
                           heading(1, "Appendix"),
                           paragraph("Tables follow."),
                           heading(2, "Financial Projections"),
                           paragraph("Revenue doubles."),
                           heading(2, "Glossary"),
                           paragraph("CEA: farming indoors."),
                           heading(1, "Management Team"),
                           paragraph("Ada leads."),
                           heading(1, "Key Personnel"),
                           paragraph("Two growers.")};
        const QList<PlanImport::Part> parts = PlanImport::parts(document);
        QStringList placed;
        for (const PlanImport::Part& part : parts)
            placed << part.heading + " > " + (part.section >= 0 ? allSections().at(part.section).title() : "");
        QCOMPARE(placed, QStringList({" > ", "Executive Summary > ", "Market Analysis > Market Summary",
                                      "Industry Trends > Market Summary", "Competitors > Competition", "Appendix > ",
                                      "Financial Projections > Financial Plan", "Glossary > ",
                                      "Management Team > The Team", "Key Personnel > The Team"}));

        const auto result = PlanImport::sectionTexts(document, parts, PlanImport::Prose::WholeParagraphs);
        QCOMPARE(result.sectionTexts.value(sectionNamed("Market Summary")),
                 QString("The market grows.\r\nIndustry Trends\r\nTrends favour local food."));
        QCOMPARE(result.sectionTexts.value(sectionNamed("Competition")), QString("Two importers."));
        QCOMPARE(result.sectionTexts.value(sectionNamed("The Team")),
                 QString("Ada leads.\r\nKey Personnel\r\nTwo growers."));
        QCOMPARE(result.sectionTexts.size(), 4);
        // Left out: the summary, the appendix and the glossary, each heading
        // and paragraph; the company's line is the plan's company name.
        QCOMPARE(result.paragraphsLeftOut, 6);
        QCOMPARE(result.wordsLeftOut, 2 + 3 + 1 + 2 + 1 + 3);
        QCOMPARE(PlanImport::companyName(document, parts), QString("Fjordlight AS"));

        // Placed by the user: a part left out counts, one placed does not.
        QList<PlanImport::Part> changed = parts;
        changed[1].section = sectionNamed("Mission Statement");
        changed[2].section = PlanImport::kLeftOut;
        const auto after = PlanImport::sectionTexts(document, changed, PlanImport::Prose::WholeParagraphs);
        QCOMPARE(after.sectionTexts.value(sectionNamed("Mission Statement")),
                 QString("Executive Summary\r\nWe farm greens."));
        QVERIFY(!after.sectionTexts.value(sectionNamed("Market Summary")).contains("The market grows."));
        QCOMPARE(after.paragraphsLeftOut, 6 - 2 + 2);
    }

    // A document without headings is read with its short bold lines as
    // headings (at most ten words); without those, each paragraph is a
    // part of its own.
    void withoutHeadingsShortBoldLinesStandForThem()
    {
        ImportedDocument plain;
        plain.blocks = {paragraph("One."), paragraph(" "), paragraph(words(11, "Risks"), true), paragraph("Two.")};
        const QList<PlanImport::Part> each = PlanImport::parts(plain);
        QCOMPARE(each.size(), 3);
        QCOMPARE(each.at(2).firstBlock, 3);
        QVERIFY(each.at(2).heading.isEmpty() && each.at(2).section == PlanImport::kUnplaced);
        QCOMPARE(
            PlanImport::report(plain, each, PlanImport::sectionTexts(plain, each, PlanImport::Prose::FirstSentences))
                .first(),
            QString("\"One.\": left out"));

        // Plain text: short lines that name a section, and end no sentence.
        ImportedDocument text;
        text.blocks = {paragraph("Fjordlight AS"), paragraph("Mission"), paragraph("Light."),
                       paragraph("Our team:"),     paragraph("Ada."),    paragraph("Risks are many.")};
        QStringList placed;
        for (const PlanImport::Part& part : PlanImport::parts(text))
            placed << part.heading + ">" + (part.section >= 0 ? allSections().at(part.section).title() : "");
        QCOMPARE(placed, QStringList({">", "Mission>Mission Statement", "Our team:>The Team"}));

        ImportedDocument document;
        document.blocks = {paragraph("Plan", true), paragraph(words(10, "Team"), true), paragraph("Ada leads."),
                           paragraph(words(11, "Risks"), true), paragraph("Rain.")};
        const QList<PlanImport::Part> parts = PlanImport::parts(document);
        QCOMPARE(parts.size(), 2);
        QCOMPARE(parts.at(1).section, sectionNamed("The Team"));
        QCOMPARE(PlanImport::sectionTexts(document, parts, PlanImport::Prose::FirstSentences)
                     .sectionTexts.value(sectionNamed("The Team")),
                 "Ada leads.\r\n" + words(11, "Risks") + "\r\nRain.");
    }

    void theFirstSentenceGoesOnAcrossAbbreviations_data()
    {
        QTest::addColumn<QString>("paragraph");
        QTest::addColumn<QString>("first");
        // clang-format off
        QTest::newRow("a title") << "Dr. Berg founded us. We grow." << "Dr. Berg founded us.";
        QTest::newRow("a country") << "We sell in the U.S. and Canada. Then Europe." << "We sell in the U.S. and Canada.";
        QTest::newRow("an initial") << "J. Smith leads sales. She knows the trade." << "J. Smith leads sales.";
        QTest::newRow("German, spaced") << "Wir planen z. B. Kooperationen. Danach mehr." << "Wir planen z. B. Kooperationen.";
        QTest::newRow("German, millions") << "Umsatz ca. 20 Mio. Euro im Jahr. Dann mehr." << "Umsatz ca. 20 Mio. Euro im Jahr.";
        QTest::newRow("Spanish") << "La Sra. García dirige ventas. Luego crecemos." << "La Sra. García dirige ventas.";
        QTest::newRow("a decimal") << "Growth was 5.2% in 2025. More follows." << "Growth was 5.2% in 2025.";
        QTest::newRow("a question") << "Why now? Costs fell." << "Why now?";
        QTest::newRow("one sentence") << "One sentence only" << "One sentence only";
        QTest::newRow("ending in an abbreviation") << "We ship to the U.S." << "We ship to the U.S.";
        // clang-format on
    }

    void theFirstSentenceGoesOnAcrossAbbreviations()
    {
        QFETCH(QString, paragraph);
        QFETCH(QString, first);
        QCOMPARE(Sentences::first(paragraph), first);
    }

    // First sentences: a paragraph of more than 25 words gives its first
    // sentence to the slide and itself to the notes; at 25 it stays whole,
    // as one sentence does. List items get a bullet, table rows their tabs.
    // A document's tables become table blocks: a "Table:" line, the rows
    // as they are (a negative first cell too), a blank line after; two
    // tables one right after the other stay two.
    void tablesBecomeTableBlocks()
    {
        ImportedDocument document;
        DocumentBlock hiring{Kind::TableRow, "Year\tHires"};
        hiring.startsTable = true;
        DocumentBlock costs{Kind::TableRow, "Item\tCost"};
        costs.startsTable = true;
        document.blocks = {heading(1, "Financial Plan"),   hiring,
                           {Kind::TableRow, "2027\t3"},    costs,
                           {Kind::TableRow, "-120\tRent"}, paragraph("Costs fall.")};
        const PlanImport::Result result =
            PlanImport::sectionTexts(document, PlanImport::parts(document), PlanImport::Prose::FirstSentences);
        const QString text = result.sectionTexts.value(sectionNamed("Financial Plan"));
        QCOMPARE(text, QStringList({"Table:", "Year\tHires", "2027\t3", "", "Table:", "Item\tCost", "-120\tRent", "",
                                    "Costs fall."})
                           .join("\r\n"));
        const SectionTables::Parts read = SectionTables::extract(SectionNotes::split(text.split("\r\n")).slideLines);
        QCOMPARE(read.tables.size(), 2);
        QCOMPARE(read.tables.at(1).rows, QList<QStringList>({{"-120", "Rent"}}));
        QCOMPARE(read.slideLines, QStringList({"Costs fall."}));
    }

    void prosePutsFirstSentencesOnTheSlides()
    {
        const QString at25 = words(24) + " end.";
        const QString over25 = "Short first. Then " + words(23) + ".";
        const QString oneLong = words(30) + ".";
        ImportedDocument document;
        document.blocks = {heading(1, "Risks"),
                           paragraph(at25),
                           paragraph(over25),
                           paragraph(oneLong),
                           {Kind::ListItem, "- rain", 1},
                           {Kind::TableRow, "Year\t2027\t2028"},
                           paragraph("  ")};
        const QList<PlanImport::Part> parts = PlanImport::parts(document);
        const int risks = sectionNamed("Risk & Rewards");
        const QString firstSentences =
            PlanImport::sectionTexts(document, parts, PlanImport::Prose::FirstSentences).sectionTexts.value(risks);
        QCOMPARE(firstSentences, QStringList({at25, "Short first.", "Notes: " + over25, oneLong, "\u2022 - rain",
                                              "Table:", "Year\t2027\t2028"})
                                     .join("\r\n"));
        // The paragraph is the note of the line its first sentence is.
        const SectionNotes::Parts read = SectionNotes::split(firstSentences.split("\r\n"));
        QCOMPARE(read.notes.size(), 1);
        QCOMPARE(read.slideLines.at(read.notes.first().afterLine), QString("Short first."));
        QCOMPARE(read.notes.first().lines, QStringList({over25}));
        QCOMPARE(
            PlanImport::sectionTexts(document, parts, PlanImport::Prose::WholeParagraphs).sectionTexts.value(risks),
            QStringList({at25, over25, oneLong, "\u2022 - rain", "Table:", "Year\t2027\t2028"}).join("\r\n"));
    }

    // What the document says never reads as a hint, notes or a chart: the
    // plan's own readers take each such line for slide text.
    void nothingReadsAsThePlansOwnForms_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("escaped");
        QTest::newRow("a hint") << "- not a hint" << true;
        QTest::newRow("a negative number") << "-120 in year one" << true;
        QTest::newRow("notes") << "Notes:" << true;
        QTest::newRow("notes, spaced") << "  NOTES :" << true;
        QTest::newRow("a chart") << "Chart (pie): Revenue" << true;
        QTest::newRow("a table") << "Table: Hires" << true;
        QTest::newRow("a word that starts like one") << "Charting our course: step one" << false;
        QTest::newRow("notes in a sentence") << "Notes on pricing: see below" << false;
    }

    void nothingReadsAsThePlansOwnForms()
    {
        QFETCH(QString, line);
        QFETCH(bool, escaped);
        const QString written = PlanImport::asTextLine(line);
        QCOMPARE(written != line, escaped);
        QCOMPARE(written.mid(escaped ? 1 : 0), line);
        const QStringList lines = {written, "Revenue: 1, 2", "Notes taken: 3, 4"};
        const SectionNotes::Parts notes = SectionNotes::split(lines);
        QCOMPARE(notes.slideLines, lines);
        QCOMPARE(SectionCharts::extract(notes.slideLines).slideLines, lines);
    }

    void theTitleIsTheTitleStyleElseAPropertyThatIsNoFileName_data()
    {
        QTest::addColumn<QString>("titled");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("title");
        QTest::newRow("the title style") << "Plan 2027"
                                         << "Draft"
                                         << "Plan 2027";
        QTest::newRow("the property") << ""
                                      << " Fjordlight  plan "
                                      << "Fjordlight plan";
        QTest::newRow("a file name") << ""
                                     << "business-plan.docx"
                                     << "";
        QTest::newRow("a path") << ""
                                << "C:\\plans\\plan"
                                << "";
    }

    void theTitleIsTheTitleStyleElseAPropertyThatIsNoFileName()
    {
        QFETCH(QString, titled);
        QFETCH(QString, property);
        QFETCH(QString, title);
        ImportedDocument document;
        document.titleProperty = property;
        document.blocks = {paragraph("Acme"), {Kind::Paragraph, titled, 0, false, true}, heading(1, "Team")};
        QCOMPARE(PlanImport::planTitle(document), title);
    }

    void theCompanyComesFromTheTitlePage_data()
    {
        QTest::addColumn<QStringList>("titlePage");
        QTest::addColumn<QString>("company");
        QTest::newRow("a legal form") << QStringList{"Business plan", "Acme Widgets Inc.", "2027"}
                                      << "Acme Widgets Inc.";
        QTest::newRow("German") << QStringList{"Grünwerk GmbH"} << "Grünwerk GmbH";
        QTest::newRow("a label") << QStringList{"Company: Fjordlight"} << "Fjordlight";
        QTest::newRow("a sentence ending in one") << QStringList{"We are a young and fast growing company as"} << "";
        QTest::newRow("nothing") << QStringList{"Business plan 2027"} << "";
    }

    void theCompanyComesFromTheTitlePage()
    {
        QFETCH(QStringList, titlePage);
        QFETCH(QString, company);
        ImportedDocument document;
        for (const QString& line : titlePage)
            document.blocks << paragraph(line);
        document.blocks << heading(1, "Team") << paragraph("Acme Inc.");
        QCOMPARE(PlanImport::companyName(document, PlanImport::parts(document)), company);
        document.blocks.remove(0, titlePage.size());
        QCOMPARE(PlanImport::companyName(document, PlanImport::parts(document)), QString());
    }
};

QTEST_APPLESS_MAIN(PlanImportTest)
#include "test_plan_import.moc"
