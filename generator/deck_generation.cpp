#include "generator/deck_generation.h"

#include "engine/port/presentation_engine.h"
#include "generator/chart_numbers.h"
#include "generator/section_charts.h"
#include "generator/section_notes.h"
#include "generator/section_split.h"
#include "generator/section_tables.h"
#include "plan/plan_designs.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "plan/plan_sections.h"
#include "shell/dialogs.h"
#include "shell/error_report.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/line_breaks.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <QThread>

#include <cmath>
#include <limits>
#include <utility>

namespace DeckGeneration {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// A section's steps, as lines counted from the section's first line. A
// failed step is reported at its line, and the lines stay as they have
// always been so that a report reads the same whatever version made it
// (CONTRIBUTING, "Error locations and step lines").
namespace SectionStep {
enum : int {
    SelectSlide = 0,
    SelectBody = 2,
    SelectBodyText = 4,  // and its characters at 6
    ClearText = 8,
    ReadText = 10,
    SplitNotes = 12,
    AddLine = 18,
    WriteText = 22,
    WriteNotes = 23,
    Pause = 24,
    MakeChart = 25,  // each chart's and table's slide, after the text's slides
    Unselect = 26,
    ChartPause = 27,
};
}  // namespace SectionStep
// The template's working copy in the temporary folder, whatever the design.
const QString kWorkingCopyName = QStringLiteral("business_plan.ppt");

// Thrown by a step that cannot run because an earlier step failed and was
// reported: it is skipped without a word.
struct EarlierStepFailed {};

// A reference that a failed step left empty: the steps that use it cannot
// run.
template <typename T>
T& use(const std::shared_ptr<T>& reference)
{
    if (!reference)
        throw EarlierStepFailed();
    return *reference;
}

// The text without the characters a slide cannot hold: NUL and the other
// control characters apart from tab and line breaks.
QString withoutControlCharacters(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control || c == QLatin1Char('\t') || c == QLatin1Char('\r')
            || c == QLatin1Char('\n'))
            kept += c;
    return kept;
}

// The text as far as a text box of the deck keeps and shows it: whole lines
// first; a first line longer than a text box is cut inside.
QString fittingText(const QString& text, qsizetype maxLength, int maxLines = maxSlideLines)
{
    // A paragraph break counts as one character in a text box.
    const QStringList lines = text.split(kCrLf);
    qsizetype length = -1;
    qsizetype wholeLines = 0;
    for (const QString& line : lines) {
        // The break that ends the last line starts no line of its own.
        const bool endOfLastLine = line.isEmpty() && wholeLines == lines.size() - 1;
        if (length + 1 + line.size() > maxLength || (wholeLines == maxLines && !endOfLastLine))
            break;
        length += 1 + line.size();
        ++wholeLines;
    }
    if (wholeLines == lines.size())
        return text;
    if (wholeLines == 0)
        return text.left(maxLength);
    return lines.first(wholeLines).join(kCrLf);
}

class Generation {
public:
    Generation(QString targetPath, const PlanSource& plan, const GenerationServices& services)
        : mTarget(std::move(targetPath)),
          mPlan(plan),
          mServices(services),
          mTrap(services.dialogs,
                ErrorReport::location(QStringLiteral("LessonPlan"), QStringLiteral("generateBusinessPlan")))
    {
    }

    // Whether the engine could be used to the end: it started and never
    // went away.
    bool engineStayed() const { return !mEngineGone; }

    void run()
    {
        const QString source = Product::besideProgram(mServices.programFolder,
                                                      PlanDesigns::chosen(mPlan.text(PlanKeys::design)).templateFile);
        const QString workingCopy = Files::tempFolder() + QStringLiteral("/") + kWorkingCopyName;
        // Each section's steps take 28 lines from 142, one slide each from
        // slide 2; the closing steps follow the last section's.
        const QStringList keys = allSectionKeys();

        engineStep(100, [&] { mCreatedApp = mServices.engine.CreateObject(); });
        engineStep(102, [&] { mRunningApp = mServices.engine.GetObject(); });
        if (mTrap.test(104, [&] { return Files::exists(source); }))
            mTrap.step(106, [&] { Files::copyReplacing(source, workingCopy); });
        if (mTrap.test(108, [&] { return Files::exists(workingCopy); })) {
            mTrap.step(110, [&] { Files::copyReplacing(workingCopy, mTarget); });
            engineStep(112, [&] { app(mCreatedApp).setVisible(true); });
            engineStep(114, [&] { mDeck = app(mRunningApp).Presentations().Open(mTarget); });
            // Without the presentation there is nothing to fill.
            if (mDeck) {
                pause(116);
                placeLogo(117);
                writeTitleShape(118, TextShape::Title, mPlan.companyName, QStringLiteral("The company name"));
                writeTitleShape(130, TextShape::Body, mPlan.planTitle, QStringLiteral("The plan title"));
                const QList<PlanSection> sections = allSections();
                for (int k = 0; k < keys.size(); ++k)
                    writeSection(kFirstSectionLine + kSectionLines * k, k + 2 + mAddedSlides, keys.at(k),
                                 sections.at(k).title());
            }
        }
        close(kFirstSectionLine + kSectionLines * static_cast<int>(keys.size()));
    }

private:
    static constexpr int kFirstSectionLine = 142;
    static constexpr int kSectionLines = 28;
    // The most slides a deck gets: a real plan never needs as many.
    static constexpr int kMostSlides = 60;

    // Saves and closes the deck, ends both engine references and lets go of
    // the three; with eleven sections from line 450.
    void close(int line)
    {
        if (mDeck) {
            engineStep(line, [&] { app(mCreatedApp).ActiveWindow().Selection().Unselect(); });
            engineStep(line + 2, [&] {
                if (mAddedSlides > 0)
                    deck().UpdateSlideTotals();
                const QString planTitle = mPlan.planTitle().simplified();
                deck().setTitle(planTitle.isEmpty() ? mPlan.companyName().simplified() : planTitle);
                const QString language = mPlan.language;
                deck().setLanguage(language.isEmpty() ? QLocale::system().name() : language);
                deck().Slides(1).Select();
            });
            engineStep(line + 4, [&] { deck().Save(); });
            if (mServices.whileSaved)
                engineStep(line + 5, [&] { mServices.whileSaved(app(mCreatedApp), deck()); });
            engineStep(line + 6, [&] { deck().Close(); });
        }
        engineStep(line + 8, [&] { app(mRunningApp).Quit(); });
        engineStep(line + 10, [&] { app(mCreatedApp).Quit(); });
        mTrap.step(line + 12, [&] { mDeck.reset(); });
        mTrap.step(line + 14, [&] { mRunningApp.reset(); });
        mTrap.step(line + 16, [&] { mCreatedApp.reset(); });
        if (!mEngineGone)
            tellAboutTheChartsAndTables();
    }

    // What the charts and tables left out, told as notes to the user once
    // the deck is made: the plan, not the program, needs a change.
    void tellAboutTheChartsAndTables()
    {
        const auto quoted = [](const QStringList& titles) {
            return QStringLiteral("\"%1\"").arg(titles.join(QStringLiteral("\", \"")));
        };
        if (const qsizetype leftOut = mChartsLeftOut.size() + mTablesLeftOut.size(); leftOut > 0) {
            // "chart", "table" or "chart or table"; "charts and tables" for more.
            QStringList kinds;
            if (!mChartsLeftOut.isEmpty())
                kinds << QStringLiteral("chart");
            if (!mTablesLeftOut.isEmpty())
                kinds << QStringLiteral("table");
            const QString kind = kinds.join(QStringLiteral(" or "));
            const QString pluralKinds = kinds.join(QStringLiteral("s and ")) + QStringLiteral("s");
            mServices.dialogs.message(
                QStringLiteral("The plan is too long for a deck of %1 slides: %2 left out (%3). Shorten the plan "
                               "to keep %4.")
                    .arg(kMostSlides)
                    .arg(leftOut == 1 ? QStringLiteral("1 %1 is").arg(kind)
                                      : QStringLiteral("%1 %2 are").arg(leftOut).arg(pluralKinds))
                    .arg(quoted(mChartsLeftOut + mTablesLeftOut))
                    .arg(leftOut == 1 ? QStringLiteral("it") : QStringLiteral("them")));
        }
        if (!mChartAndTableNotes.isEmpty())
            mServices.dialogs.message(mChartAndTableNotes.join(QLatin1Char(' ')));
        if (!mTablesShrunk.isEmpty())
            mServices.dialogs.message(
                QStringLiteral("%1 too wide for a slide at 18 pt, and %2 smaller (%3). Shorten %4 cells or leave "
                               "out a column to show %5 larger.")
                    .arg(mTablesShrunk.size() == 1 ? QStringLiteral("A table is")
                                                   : QStringLiteral("%1 tables are").arg(mTablesShrunk.size()))
                    .arg(mTablesShrunk.size() == 1 ? QStringLiteral("shows") : QStringLiteral("show"))
                    .arg(mTablesShrunk.join(QStringLiteral("; ")))
                    .arg(mTablesShrunk.size() == 1 ? QStringLiteral("its") : QStringLiteral("their"))
                    .arg(mTablesShrunk.size() == 1 ? QStringLiteral("it") : QStringLiteral("them")));
        if (!mChartValuesUnread.isEmpty())
            mServices.dialogs.message(
                QStringLiteral("Some of the plan's chart numbers could not be read and are left out of their charts "
                               "(%1). Write them as numbers, such as 1200, 1.5M or €120k, to chart them.")
                    .arg(mChartValuesUnread.join(QStringLiteral("; "))));
    }

    // The plan's logo where the deck's designs show one; a plan without one
    // makes the deck as it always was.
    void placeLogo(int line)
    {
        const QString logo = PlanLogo::copyOf(mPlan.text(PlanKeys::logo), mServices.logoFolder);
        if (logo.isEmpty())
            return;
        engineStep(line, [&] {
            if (!QFileInfo(logo).isFile())
                throw Failure(QStringLiteral("The plan's logo %1 is missing, so the deck has none. Choose the logo "
                                             "again with Deck > Logo….")
                                  .arg(QDir::toNativeSeparators(logo)));
            deck().PlaceLogo(logo, PlanLogo::description(mPlan.companyName()));
        });
    }

    // The title slide, a slide a section and those added so far fill the
    // most slides a deck gets.
    int slidesLeft() const { return kMostSlides - 1 - static_cast<int>(allSectionKeys().size()) - mAddedSlides; }
    bool deckIsFull() const { return slidesLeft() <= 0; }

    static PresentationApplication& app(const std::shared_ptr<PresentationApplication>& reference)
    {
        return use(reference);
    }

    Presentation& deck() { return use(mDeck); }

    // A step that needs the engine. The first failure of the engine itself
    // (it cannot start, or ended) is reported; after it, and where an
    // earlier failed step left nothing to work on, steps are skipped
    // without a word: one failure is told once, not at every step.
    void engineStep(int line, const std::function<void()>& body)
    {
        if (mEngineGone)
            return;
        mTrap.step(line, [&] {
            try {
                body();
            } catch (const EngineUnavailable&) {
                mEngineGone = true;
                throw;
            } catch (const EarlierStepFailed&) {
            }
        });
    }

    // The user watches each step; with the engine gone there is nothing to
    // watch.
    void pause(int line)
    {
        if (mEngineGone)
            return;
        mTrap.step(line, [&] {
            float seconds = 0.5f;
            waitSeconds(seconds, mServices.clock);
        });
    }

    // Two steps: select the shape's text, then all of its characters.
    void selectAllText(int line)
    {
        engineStep(line, [&] { selectShapeText(); });
        engineStep(line + 2, [&] { selectAllCharacters(); });
    }

    void selectShapeText()
    {
        app(mCreatedApp).ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
    }

    void selectAllCharacters()
    {
        auto window = app(mCreatedApp).ActiveWindow();
        const int length = static_cast<int>(window.Selection().TextRange().Text().size());
        window.Selection().ShapeRange().TextFrame().TextRange().Characters(1, length).Select();
    }

    // Writes a text into the selection; one that a slide cannot hold whole
    // is written as far as it fits. Returns what tells the user which text
    // was cut, or nothing when all of it is written.
    QString writeSelectedText(const QString& text, const QString& what, qsizetype maxLength)
    {
        const QString kept = withoutControlCharacters(text);
        const QString written = fittingText(kept, maxLength);
        app(mCreatedApp).ActiveWindow().Selection().TextRange().setText(written);
        if (written.size() == kept.size())
            return QString();
        if (written.count(kCrLf) + 1 == maxSlideLines)
            return QStringLiteral(
                       "%1 is too long for a slide, which shows %2 lines: only its first %2 lines "
                       "are in the deck. Shorten it to keep all of it.")
                .arg(what)
                .arg(maxSlideLines);
        return QStringLiteral(
                   "%1 is too long for a slide, which holds %2 characters: only its first "
                   "%3 characters are in the deck. Shorten it to keep all of it.")
            .arg(what)
            .arg(maxLength)
            .arg(LineBreaks::toLf(written).size());
    }

    // Writes the notes into the slide's notes page, filtered as slide text
    // is; notes longer than a page holds keep their whole first lines, and
    // that is told.
    void writeNotes(int slide, const QStringList& notes)
    {
        const QString kept = withoutControlCharacters(notes.join(kCrLf));
        const QString written = fittingText(kept, maxSlideTextLength, std::numeric_limits<int>::max());
        deck().Slides(slide).setNotesText(written);
        if (written.size() < kept.size())
            throw Failure(QStringLiteral("The notes of the section on slide %1 (\"%2\") are too long: a slide's "
                                         "notes hold %3 characters, and only their first %4 characters are in the "
                                         "deck. Shorten them to keep all of them.")
                              .arg(slide)
                              .arg(kept.section(kCrLf, 0, 0).left(40))
                              .arg(maxSlideTextLength)
                              .arg(LineBreaks::toLf(written).size()));
    }

    static void tellIfCut(const QString& cut)
    {
        if (!cut.isEmpty())
            throw Failure(cut);
    }

    // Selects all of the selected shape's text, without steps of its own.
    void selectWholeText()
    {
        selectShapeText();
        selectAllCharacters();
    }

    // Writes the section's text into the selected body of its slide. Text
    // that would show below the floor size there goes on, whole lines at a
    // time, on copies of the slide inserted after it, in parts of about as
    // many lines each, all at one size; their titles then count the parts
    // ("Market Summary (2/3)"). The slides show the company name in their
    // footer.
    // linesPerSlide is set to how many lines each of the section's slides
    // shows, also when what was cut is then told.
    void writeSectionText(int slide, const QString& text, QList<int>& linesPerSlide)
    {
        deck().Slides(slide).setFooterText(mPlan.companyName());
        const auto what = [&](int on, const QString& firstLine) {
            return QStringLiteral("The section on slide %1 (\"%2\")").arg(on).arg(firstLine.left(40));
        };
        const QString cut = writeSelectedText(text, what(slide, text.section(kCrLf, 0, 0)), maxSlideTextLength);
        QStringList lines = text.split(kCrLf);
        // The break after the last line starts no line of its own.
        if (text.endsWith(kCrLf))
            lines.removeLast();
        const float shownSize = lines.size() < 2 ? SectionSplit::kFloorSize : shownSizeOf(text);
        if (shownSize >= SectionSplit::kFloorSize) {
            linesPerSlide = {static_cast<int>(lines.size())};
            tellIfCut(cut);
            return;
        }

        const auto partText = [](const QStringList& part) { return part.join(kCrLf) + kCrLf; };
        const SectionSplit::Plan plan =
            SectionSplit::plan(lines, shownSize, [&](const QStringList& part) { return shownSizeOf(partText(part)); });
        int current = slide;
        qsizetype from = 0;
        QStringList cuts;
        linesPerSlide.clear();
        for (qsizetype p = 0; p < plan.linesPerSlide.size(); ++p) {
            const int count = plan.linesPerSlide.at(p);
            if (from > 0) {
                if (deckIsFull())
                    break;
                deck().Slides(current).Duplicate();
                ++current;
                ++mAddedSlides;
                deck().Slides(current).Select();
                deck().Slides(current).Shapes(TextShape::Body).Select();
            }
            const QStringList part = lines.sliced(from, count);
            selectWholeText();
            const QString partCut = writeSelectedText(partText(part), what(current, part.first()), maxSlideTextLength);
            if (!partCut.isEmpty())
                cuts << partCut;
            if (plan.sizes.at(p) > 0)
                app(mCreatedApp).ActiveWindow().Selection().TextRange().setFontSize(plan.sizes.at(p));
            linesPerSlide << count;
            from += count;
        }
        countParts(slide, static_cast<int>(linesPerSlide.size()));
        deck().Slides(current).Shapes(TextShape::Body).Select();
        // A deck that is full is told once: the sections after it lose
        // their further lines for the same reason.
        if (from < lines.size() && !mDeckFullTold) {
            mDeckFullTold = true;
            throw Failure(QStringLiteral("The plan is too long for a deck of %1 slides: from the section on slide %2 "
                                         "(\"%3\") on, sections lose the lines that do not fit on their slides. "
                                         "Shorten the plan to keep all of it.")
                              .arg(kMostSlides)
                              .arg(slide)
                              .arg(lines.first().left(40)));
        }
        if (!cuts.isEmpty())
            throw Failure(cuts.first());
    }

    // The size the text just written into the selected shape shows at. The
    // same text is selected and written once more first: a size read right
    // after a body's first write can be that of a body which does not shrink
    // (about one reading in eight), after the second write it never was.
    float shownSizeOf(const QString& written)
    {
        selectWholeText();
        writeSelectedText(written, QString(), maxSlideTextLength);
        return app(mCreatedApp).ActiveWindow().Selection().TextRange().ShownSize();
    }

    // The titles of a section's slides, from the first on, get the part each
    // holds and the number of parts.
    void countParts(int firstSlide, int parts)
    {
        if (parts < 2)
            return;
        QString title;
        for (int part = 1; part <= parts; ++part) {
            deck().Slides(firstSlide + part - 1).Shapes(TextShape::Title).Select();
            selectWholeText();
            if (part == 1)
                title = app(mCreatedApp).ActiveWindow().Selection().TextRange().Text();
            app(mCreatedApp)
                .ActiveWindow()
                .Selection()
                .TextRange()
                .setText(QStringLiteral("%1 (%2/%3)").arg(title).arg(part).arg(parts));
        }
    }

    void writeTitleShape(int line, TextShape shape, const std::function<QString()>& text, const QString& what)
    {
        engineStep(line, [&] { deck().Slides(1).Shapes(shape).Select(); });
        selectAllText(line + 2);
        engineStep(line + 6, [&] {
            const QString written = text();
            const QString cut = writeSelectedText(written, what, maxSlideTextLength);
            app(mCreatedApp).ActiveWindow().Selection().TextRange().FitToShape();
            tellIfCut(cut);
        });
        pause(line + 8);
        engineStep(line + 10, [&] { app(mCreatedApp).ActiveWindow().Selection().Unselect(); });
    }

    void writeSection(int line, int slide, const QString& key, const QString& title)
    {
        const int addedBefore = mAddedSlides;
        engineStep(line + SectionStep::SelectSlide, [&] { deck().Slides(slide).Select(); });
        engineStep(line + SectionStep::SelectBody, [&] { deck().Slides(slide).Shapes(TextShape::Body).Select(); });
        selectAllText(line + SectionStep::SelectBodyText);
        QString text;
        // Clearing cannot fail, yet it is a trapped step with a line of its
        // own like every other: the lines a report gives stay one for one
        // with the steps that run.
        mTrap.step(line + SectionStep::ClearText, [&] { text.clear(); });
        QString stored;
        const bool anyText = mTrap.test(line + SectionStep::ReadText, [&] {
            stored = mPlan.text(key);
            return !stored.isEmpty();
        });
        // Every slide line is written, each followed by CR LF; hints are
        // not, and the notes go to the slide's notes page.
        SectionNotes::Parts parts;
        SectionTables::Parts tables;
        SectionCharts::Parts charts;
        if (anyText)
            mTrap.step(line + SectionStep::SplitNotes, [&] {
                parts = SectionNotes::split(LineBreaks::lines(stored));
                tables = SectionTables::extract(parts.slideLines);
                charts = SectionCharts::extract(tables.slideLines);
                mChartAndTableNotes << tables.notes;
                for (const QString& unread : std::as_const(charts.unread))
                    mChartValuesUnread << title + QStringLiteral(", ") + unread;
                mChartAndTableNotes << charts.notes;
            });
        for (const QString& each : std::as_const(charts.slideLines))
            mTrap.step(line + SectionStep::AddLine, [&] { text += each + kCrLf; });
        QList<int> linesPerSlide;
        engineStep(line + SectionStep::WriteText, [&] { writeSectionText(slide, text, linesPerSlide); });
        writeChartsAndTables(line, slide + mAddedSlides - addedBefore, title, charts, tables);
        // After the section's copies of its slide are made: each note goes
        // with the slide that the line it follows is on.
        QList<int> shownLines;
        for (const int kept : std::as_const(charts.lineSources))
            shownLines << tables.lineSources.at(kept);
        const QMap<int, QStringList> notes = SectionNotes::bySlide(parts.notes, shownLines, linesPerSlide);
        for (auto each = notes.begin(); each != notes.end(); ++each)
            engineStep(line + SectionStep::WriteNotes, [&] { writeNotes(slide + each.key(), each.value()); });
        pause(line + SectionStep::Pause);
        engineStep(line + SectionStep::Unselect, [&] { app(mCreatedApp).ActiveWindow().Selection().Unselect(); });
    }

    // The section's charts and tables, each on a slide of its own after
    // its text slides, in the order typed.
    void writeChartsAndTables(int line, int lastTextSlide, const QString& sectionTitle,
                              const SectionCharts::Parts& charts, const SectionTables::Parts& tables)
    {
        QMap<int, std::function<void()>> inOrder;
        for (const SectionCharts::Chart& chart : charts.charts)
            inOrder.insert(tables.lineSources.at(chart.line), [&] {
                if (!roomForAnotherSlide()) {
                    mChartsLeftOut << sectionTitle + QStringLiteral(": ") + chart.title;
                    return;
                }
                engineStep(line + SectionStep::MakeChart, [&] {
                    const int slide = takeSlideAfter(lastTextSlide);
                    writeOwnSlideTitle(slide, sectionTitle + QStringLiteral(": ") + chart.title, chart.title);
                    deck().Slides(slide).AddChart(chart.data);
                });
                pause(line + SectionStep::ChartPause);
            });
        for (const SectionTables::Table& table : tables.tables)
            inOrder.insert(table.line, [&] { writeTable(line, lastTextSlide, sectionTitle, table); });
        for (const std::function<void()>& write : std::as_const(inOrder))
            write();
        // The spare copy left after the last is taken out.
        if (mSpareSlide > 0) {
            engineStep(line + SectionStep::MakeChart, [&] { deck().Slides(mSpareSlide).Delete(); });
            --mAddedSlides;
            mSpareSlide = 0;
        }
    }

    // A table on as many slides as its rows take, each with the header
    // row and titled with the part it holds ("Financial Plan: Hiring
    // (2/3)").
    void writeTable(int line, int lastTextSlide, const QString& sectionTitle, const SectionTables::Table& table)
    {
        // A Markdown table typed without a "Table:" line has no title of
        // its own.
        const QString title = table.title.isEmpty() ? sectionTitle : sectionTitle + QStringLiteral(": ") + table.title;
        const TableData data{table.header, table.rows, numberColumns(table)};
        int firstSlide = 0;
        int parts = 0;
        qsizetype shown = 0;
        float smallest = SectionSplit::kFloorSize;
        do {
            if (!roomForAnotherSlide()) {
                mTablesLeftOut
                    << (parts == 0 ? title
                                   : QStringLiteral("%1, its last %2 rows").arg(title).arg(table.rows.size() - shown));
                break;
            }
            bool made = false;
            engineStep(line + SectionStep::MakeChart, [&] {
                const int slide = takeSlideAfter(lastTextSlide);
                firstSlide = parts == 0 ? slide : firstSlide;
                writeOwnSlideTitle(slide, title, table.title);
                const TableFit fit =
                    deck().Slides(slide).AddTable(TableData{data.header, data.rows.sliced(shown), data.numberColumns});
                shown += std::max(fit.rowsShown, 1);
                smallest = std::min(smallest, fit.textSize);
                ++parts;
                made = true;
            });
            pause(line + SectionStep::ChartPause);
            if (!made)
                break;
        } while (shown < table.rows.size());
        if (parts > 1)
            engineStep(line + SectionStep::MakeChart, [&] { countParts(firstSlide, parts); });
        if (smallest < SectionSplit::kFloorSize)
            mTablesShrunk << QStringLiteral("\"%1\" at %2 pt").arg(title).arg(static_cast<double>(smallest));
    }

    // The columns whose cells below the header are all numbers, and not
    // all empty.
    static QList<bool> numberColumns(const SectionTables::Table& table)
    {
        QList<bool> numbers;
        for (qsizetype c = 0; c < table.header.size(); ++c) {
            bool any = false;
            bool all = true;
            for (const QStringList& row : table.rows) {
                if (row.at(c).isEmpty())
                    continue;
                any = true;
                all = all && ChartNumbers::read(row.at(c)).has_value();
            }
            numbers << (any && all);
        }
        return numbers;
    }

    // Whether the deck has room for another slide of a chart or table; the
    // spare copy they are made from takes none.
    bool roomForAnotherSlide() const { return slidesLeft() + (mSpareSlide > 0 ? 1 : 0) > 0; }

    // A copy of the section's last text slide, which has the look a chart
    // or table takes (a copy of a chart's slide would carry that chart),
    // right after the slides taken so far. A copy is inserted right after
    // the slide copied, so a spare copy is kept after the last one taken
    // to copy the next from.
    int takeSlideAfter(int lastTextSlide)
    {
        if (mSpareSlide == 0) {
            deck().Slides(lastTextSlide).Duplicate();
            ++mAddedSlides;
            mSpareSlide = lastTextSlide + 1;
        }
        const int slide = mSpareSlide;
        deck().Slides(slide).Duplicate();
        ++mAddedSlides;
        mSpareSlide = slide + 1;
        deck().Slides(slide).Select();
        return slide;
    }

    void writeOwnSlideTitle(int slide, const QString& title, const QString& ownTitle)
    {
        deck().Slides(slide).Shapes(TextShape::Title).Select();
        selectWholeText();
        tellIfCut(writeSelectedText(title, QStringLiteral("The title of \"%1\"").arg(ownTitle), maxSlideTextLength));
    }

    QString mTarget;
    const PlanSource& mPlan;
    const GenerationServices& mServices;
    ErrorTrap mTrap;
    // The application as created (shown, and whose window the steps
    // select in) and as found running (which opens the deck); both answer
    // for the same engine.
    std::shared_ptr<PresentationApplication> mCreatedApp;
    std::shared_ptr<PresentationApplication> mRunningApp;
    std::shared_ptr<Presentation> mDeck;
    bool mEngineGone = false;
    // Continuation slides inserted so far: each moves the later sections'
    // slides on by one.
    int mAddedSlides = 0;
    bool mDeckFullTold = false;
    // What the plan's charts and tables leave out, group or cut, a sentence
    // each.
    QStringList mChartAndTableNotes;
    // The charts and tables that did not fit in the deck: "Financial Plan:
    // Revenue".
    QStringList mChartsLeftOut;
    QStringList mTablesLeftOut;
    // The tables drawn below 18 pt, with their size: '"Team: Hires" at 14 pt'.
    QStringList mTablesShrunk;
    // A copy of a section's last text slide that its next chart or table
    // is made on, while its charts and tables are made; 0 for none.
    int mSpareSlide = 0;
    // The chart values of the whole plan that could not be read, told once
    // at the end: "Financial Plan, row "Revenue": "12x"".
    QStringList mChartValuesUnread;
};

}  // namespace

bool generateBusinessPlan(QString targetPath, const PlanSource& plan, const GenerationServices& services)
{
    Generation generation(std::move(targetPath), plan, services);
    generation.run();
    return generation.engineStayed();
}

constexpr float kSecondsPerDay = 86400.0f;

void waitSeconds(float& seconds, Clock& clock)
{
    const float start = clock.secondsSinceMidnight();
    // The clock starts again at midnight, so it can measure less than a day.
    if (!std::isfinite(seconds) || seconds >= kSecondsPerDay)
        throw Failure(QStringLiteral("A pause of %1 seconds cannot be waited: it must be a number of "
                                     "seconds shorter than a day.")
                          .arg(static_cast<double>(seconds)));
    const float end = start + seconds;
    QCoreApplication::processEvents();
    for (;;) {
        float now = clock.secondsSinceMidnight();
        if (now < start)  // the clock went past midnight
            now += kSecondsPerDay;
        if (now >= end)
            return;
        QThread::usleep(500);
    }
}

}  // namespace DeckGeneration
