// Saving a filled 12-slide deck in each format the viewer offers, on a
// private engine instance: the engine's exports against its own save of the
// deck in place, measured in the same run, and against the 2 s a user may
// wait for "Done.". Then a plan of 150 lines in every section, generated as
// the program does (its sections spread over further slides), saved in each
// format against a 5 s bound. Last, a plan with three charts as PDF against
// the same plan without them, within 0.3 s more.
#include "bench/bench_engine.h"
#include "engine/port/presentation_engine.h"
#include "generator/deck_generation.h"
#include "plan/plan_sections.h"
#include "shell/settings_store.h"
#include "shell/system_side_effects.h"
#include "tests/support/chart_plan.h"
#include "tests/support/deck_text.h"
#include "tests/support/fakes.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double secondsFor(const std::function<void()>& step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchEngine bench;
    UnoEngine& engine = bench.engine;

    const QString deckPath = copyOfTemplateDeck(bench.folder.filePath("deck.ppt"));
    const auto application = engine.CreateObject();
    const auto deck = application->Presentations().OpenWithoutWindow(deckPath);
    writeShape(*application, *deck, 1, "Rectangle 2", "Lumen Orchard Ltd.");
    writeShape(*application, *deck, 1, "Rectangle 3", "Indoor farms for city restaurants");
    for (int slide = 2; slide <= 12; ++slide)
        writeShape(*application, *deck, slide, "Rectangle 3",
                   "A heading\r\nA line of the plan\r\nAnother line\r\nA last line");

    const struct {
        const char* name;
        SaveAsFileType format;
    } formats[] = {{"pptx", SaveAsFileType::OpenXMLPresentation},
                   {"odp", SaveAsFileType::OpenDocumentPresentation},
                   {"pdf", SaveAsFileType::PDF}};
    for (int run = 1; run <= 3; ++run) {
        const double save = secondsFor([&] { deck->Save(); });
        std::printf("run %d: save in place (.ppt) %.3f s\n", run, save);
        for (const auto& format : formats) {
            const QString copy = bench.folder.filePath(QStringLiteral("copy.%1").arg(QLatin1String(format.name)));
            const double seconds = secondsFor([&] { deck->SaveCopyAs(copy, format.format); });
            std::printf("  .%-4s %.3f s = %.2f x the save in place, %.2f x the 2 s bound\n", format.name, seconds,
                        seconds / save, seconds / 2.0);
        }
    }
    application->Quit();

    qputenv("TEMP", bench.folder.path().toLocal8Bit());
    QFile::copy(templateDeck(), bench.folder.filePath("business_plan.ppt"));
    SettingsStore store(bench.folder.filePath("store.json"));
    // A plan in a language of its own, which its PDF names: the first PDF
    // export of each run sets the engine's language.
    store.saveSetting("Spelling Language", "de_DE");
    QStringList lines;
    for (int line = 1; line <= 150; ++line)
        lines << QStringLiteral("Line %1 of a long plan, about as long as a line a founder writes").arg(line);
    for (const QString& key : allSectionKeys())
        store.saveSetting(key, lines.join(QStringLiteral("\r\n")));
    FakeDialogs dialogs;
    SystemClock clock;
    const QString longDeck = bench.folder.filePath("ps11111111.ppt");
    const double generation = secondsFor([&] {
        DeckGeneration::generateBusinessPlan(
            longDeck,
            {[] { return QStringLiteral("Lumen Orchard Ltd."); }, [] { return QStringLiteral("A long plan"); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            {engine, dialogs, clock, bench.folder.path(), bench.folder.path()});
    });
    std::printf("150 lines in every section: generated in %.3f s (%lld reports: the deck stops at 60 slides)\n",
                generation, static_cast<long long>(dialogs.errorReports.size()));
    const auto longApplication = engine.CreateObject();
    const auto filled = longApplication->Presentations().OpenWithoutWindow(longDeck);
    for (const auto& format : formats) {
        const QString copy = bench.folder.filePath(QStringLiteral("long.%1").arg(QLatin1String(format.name)));
        const double seconds = secondsFor([&] { filled->SaveCopyAs(copy, format.format); });
        std::printf("  .%-4s %.3f s = %.2f x the 5 s bound\n", format.name, seconds, seconds / 5.0);
    }
    longApplication->Quit();

    // The fastest of three PDF exports of the plan's deck, with the Financial
    // Plan's text as given.
    const auto pdfSeconds = [&](const QString& financialPlan, const QString& name) {
        for (const QString& key : allSectionKeys())
            store.saveSetting(key, QStringLiteral("A heading\r\nA line of the plan\r\nA last line"));
        store.saveSetting("SecondStatement_1", financialPlan);
        const QString path = bench.folder.filePath(name);
        DeckGeneration::generateBusinessPlan(
            path,
            {[] { return QStringLiteral("Lumen Orchard Ltd."); }, [] { return QStringLiteral("Charts"); },
             [&](const QString& key) { return store.getSetting(key); }, store.getSetting("Spelling Language")},
            {engine, dialogs, clock, bench.folder.path(), bench.folder.path()});
        const auto application = engine.CreateObject();
        const auto generated = application->Presentations().OpenWithoutWindow(path);
        double fastest = 1e9;
        for (int run = 1; run <= 3; ++run)
            fastest = std::min(fastest, secondsFor([&] {
                                   generated->SaveCopyAs(path + QStringLiteral(".pdf"), SaveAsFileType::PDF);
                               }));
        application->Quit();
        return fastest;
    };
    const double withCharts = pdfSeconds(kThreeChartsSection, QStringLiteral("ps22222222.ppt"));
    const double without =
        pdfSeconds(QStringLiteral("Revenue grows fourfold by 2030."), QStringLiteral("ps33333333.ppt"));
    std::printf("three charts as PDF: %.3f s, without them %.3f s: %.3f s more (target at most 0.3 s, ratio %.2f)\n",
                withCharts, without, withCharts - without, (withCharts - without) / 0.3);
    return 0;
}
