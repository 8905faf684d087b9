// The second composition root: the deck made from the command line, with a
// headless engine of its own, no windows and no pauses.
#include "app/deck_export.h"

#include "engine/uno/uno_engine.h"
#include "generator/deck_generation.h"
#include "generator/save_formats.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "platform/window_system.h"
#include "shell/dialogs.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"
#include "shell/temporary_files.h"
#include "shell/termination.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <optional>

namespace {

// A headless engine shows no window: nothing to find, park or watch.
class NoWindows : public WindowSystem {
public:
    WindowId findWindow(const QString&) override { return 0; }
    void setParent(WindowId, WindowId) override {}
    WindowId createParkingWindow(const QString&, int, int) override { return 0; }
    void resizeWindow(WindowId, int, int) override {}
    void destroyWindow(WindowId) override {}
    void showOver(WindowId, const QRect&) override {}
    void giveKeyboard(WindowId) override {}
    WindowId keyWindowOf(WindowId window) override { return window; }
    void watchKeys(WindowId, const QList<int>&, std::function<void(int)>) override {}
    QList<QRect> screenAreas() override { return {}; }
};

// Every pause is over at once: each reading is a second after the last.
class NoPauses : public Clock {
public:
    float secondsSinceMidnight() override { return mNow += 1.0f; }

private:
    float mNow = 0;
};

// What generation would show in boxes is written out instead: what was cut
// or could not be read on standard output, as the deck is still made.
class PrintedReports : public Dialogs {
public:
    void errorReport(const QString& text) override { reports << text; }
    void message(const QString& text) override { reports << text; }
    bool askYesNo(const QString&) override { return true; }
    SaveChoice askSaveFileName(const QString&, const QStringList&) override { return {}; }
    QString askOpenFileName(const QString&, const QStringList&) override { return {}; }
    QStringList reports;
};

void printError(const QString& text)
{
    std::fprintf(stderr, "orvendale: %s\n", qPrintable(text));
}

// The engine of the export alone: a profile and pipe of its own, so that a
// running copy of the program and its engines are never touched.
EngineSettings exportEngineSettings()
{
    EngineSettings settings = EngineSettings::forUser();
    settings.profileDir = Product::userDataFolder() + QStringLiteral("/export-engine-profile");
    settings.pipeName = QStringLiteral("orvendale-export-%1").arg(QCoreApplication::applicationPid());
    settings.headless = true;
    return settings;
}

// One line a slide: its number and title.
void printSlides(PresentationEngine& engine, const QString& deckPath)
{
    const auto app = engine.CreateObject();
    const auto deck = app->Presentations().OpenWithoutWindow(deckPath);
    for (int slide = 1;; ++slide) {
        try {
            deck->Slides(slide).Shapes(TextShape::Title).Select();
        } catch (const Failure&) {
            break;
        }
        app->ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
        std::printf("slide %d: %s\n", slide,
                    qPrintable(app->ActiveWindow().Selection().TextRange().Text().simplified()));
    }
    deck->Close();
}

}  // namespace

int exportDeck(const QString& target, const QString& planFile)
{
    const std::optional<SaveAsFileType> format = formatOfName(target);
    if (!format) {
        printError(QStringLiteral("%1: the name must end in .ppt, .pptx, .odp or .pdf.").arg(target));
        return 3;
    }
    // The plan, in a store of the export's own in a private folder that
    // also holds the working copies; the user's store is only read.
    QTemporaryDir work(Files::tempFolder() + QStringLiteral("/orvendale-export-XXXXXX"));
    if (!work.isValid()) {
        printError(QStringLiteral("no temporary folder can be made in %1.").arg(Files::tempFolder()));
        return 3;
    }
    qputenv("TEMP", work.path().toLocal8Bit());
    SettingsStore plan(work.filePath(QStringLiteral("plan.json")));
    try {
        const SettingsStore userStore;
        PlanFile::store(plan, planFile.isEmpty() ? PlanFile::storedTexts(userStore) : PlanFile::read(planFile));
        // The deck is written in the language the user spell-checks in.
        plan.saveSetting(PlanKeys::spellingLanguage, userStore.getSetting(PlanKeys::spellingLanguage));
    } catch (const Failure& failure) {
        printError(failure.description());
        return 1;
    }

    NoWindows windows;
    UnoEngine engine(windows, exportEngineSettings());
    engine.endInstanceLeftBehind();
    std::atomic<bool> interrupted = false;
    const Termination termination([] {},
                                  [&] {
                                      interrupted = true;
                                      engine.interruptCall();
                                  });
    NoPauses clock;
    PrintedReports reports;
    const QString deck = work.filePath(QStringLiteral("ps00000000.ppt"));
    const bool engineStayed = DeckGeneration::generateBusinessPlan(
        deck,
        {[&] { return plan.getSetting(PlanKeys::companyName); }, [&] { return plan.getSetting(PlanKeys::planTitle); },
         plan},
        {engine, reports, clock, Product::programFolder(), PlanLogo::folder(Product::userDataFolder())});
    int code = 0;
    if (interrupted) {
        code = 130;
    } else if (!engineStayed || !QFileInfo::exists(deck)) {
        for (const QString& report : std::as_const(reports.reports))
            printError(report);
        code = 2;
    } else {
        try {
            printSlides(engine, deck);
            for (const QString& report : std::as_const(reports.reports))
                std::printf("%s\n", qPrintable(report));
            Files::writeReplacing(target, [&](const QString& staging) {
                if (*format == SaveAsFileType::Presentation) {
                    Files::copyReplacing(deck, staging);
                    return;
                }
                const auto app = engine.CreateObject();
                const auto made = app->Presentations().OpenWithoutWindow(deck);
                made->SaveCopyAs(staging, *format);
                made->Close();
            });
        } catch (const EngineUnavailable& failure) {
            printError(failure.description());
            code = 2;
        } catch (const Failure& failure) {
            printError(failure.description());
            code = interrupted ? 130 : 3;
        }
    }
    engine.endInstancesStartedHere();
    // With the record of this run's working files, which are gone by now.
    TemporaryFiles::removeAll();
    return code;
}
