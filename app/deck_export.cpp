// The second composition root: the deck made from the command line, with a
// headless engine of its own, no windows and no pauses.
#include "app/deck_export.h"

#include "app/command_line.h"
#include "app/headless_run.h"
#include "generator/deck_generation.h"
#include "generator/document_reading.h"
#include "generator/save_formats.h"
#include "plan/plan_designs.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "shell/dialogs.h"
#include "shell/error_report.h"
#include "shell/export_contract.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Every pause is over at once: each reading is a second after the last.
class NoPauses : public Clock {
public:
    float secondsSinceMidnight() override { return mNow += 1.0f; }

private:
    float mNow = 0;
};

// What generation would show in boxes is written out instead, a line each
// on standard error once the deck is made: what was cut or could not be
// read, as the deck is still made; what failed, when it is not.
class PrintedReports : public Dialogs {
public:
    void errorReport(const QString& text) override { reports << ErrorReport::description(text); }
    void message(const QString& text) override { reports << text.simplified(); }
    bool askYesNo(const QString&) override { return true; }
    SaveChoice askSaveFileName(const QString&, const QStringList&) override { return {}; }
    QString askOpenFileName(const QString&, const QStringList&) override { return {}; }
    QStringList reports;
};

// One line a slide: its number and title.
QStringList slideLines(PresentationApplication& app, Presentation& deck)
{
    QStringList lines;
    for (int slide = 1;; ++slide) {
        try {
            deck.Slides(slide).Shapes(TextShape::Title).Select();
        } catch (const Failure&) {
            return lines;
        }
        app.ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
        lines << QStringLiteral("slide %1: %2")
                     .arg(slide)
                     .arg(app.ActiveWindow().Selection().TextRange().Text().simplified());
    }
}

// What standard input holds, up to one byte more than a plan file can hold.
QByteArray standardInput()
{
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The plan on standard input cannot be read: %1.").arg(in.errorString()));
    return in.read(PlanFile::kMostBytes + 1);
}

// What the file at target is to the program, when it is one of the files
// a deck must never take the place of: the plan, the store, a logo's copy,
// a snapshot or a template deck; "" for none.
QString keptFileAt(const QString& target, const QString& planFile)
{
    if (!QFileInfo::exists(target))
        return {};
    if (!planFile.isEmpty() && Files::sameFile(target, planFile))
        return QStringLiteral("the plan file itself");
    if (Files::sameFile(target, SettingsStore::userFilePath()))
        return QStringLiteral("%1's store of your plan").arg(Product::name);
    for (const PlanDesigns::Design& design : PlanDesigns::all())
        if (Files::sameFile(target, Product::besideProgram(Product::programFolder(), design.templateFile)))
            return QStringLiteral("a template deck of %1").arg(Product::name);
    const QString data = Product::userDataFolder();
    const QList<std::pair<QString, QString>> folders = {
        {PlanLogo::folder(data), QStringLiteral("a logo's copy")},
        {data + QStringLiteral("/snapshots"), QStringLiteral("a snapshot of your plan")}};
    for (const auto& [folder, what] : folders)
        for (const QFileInfo& kept : QDir(folder).entryInfoList(QDir::Files))
            if (Files::sameFile(target, kept.filePath()))
                return what;
    return {};
}

// The plan an export makes its deck from, as read.
struct ExportPlan {
    PlanFile::Texts texts;
    // The deck is written in the language the user spell-checks in.
    QString language;
    // Where the plan's logo is checked and used from.
    QString logoFolder;
    // What the user is told of the plan besides the deck.
    QStringList notes;
};

// Reads the plan file, standard input ("-") or, for "", the plan the user's
// store keeps (only read); a business plan document is imported with the
// import's defaults by the engine, which stays running for the deck. A logo a plan file carries is checked and used
// from the working folder; otherwise the plan's copy in the program's data
// folder. Throws Failure when the plan cannot be read.
ExportPlan readPlan(const QString& planFile, const QString& workFolder, PresentationEngine& engine)
{
    ExportPlan plan;
    plan.logoFolder = PlanLogo::folder(Product::userDataFolder());
    const SettingsStore userStore(SettingsStore::ReadOnly{});
    plan.language = userStore.getSetting(PlanKeys::spellingLanguage);
    if (DocumentReading::isDocument(planFile)) {
        const DocumentReading::DefaultImport imported = DocumentReading::importWithDefaults(
            engine, planFile, workFolder, DocumentReading::AfterReading::KeepRunning);
        plan.texts = imported.texts;
        plan.notes << QStringLiteral("Imported from %1:").arg(QDir::toNativeSeparators(planFile)) << imported.report;
        return plan;
    }
    if (planFile.isEmpty()) {
        plan.texts = PlanFile::storedTexts(userStore);
        if (std::all_of(plan.texts.cbegin(), plan.texts.cend(),
                        [](const QString& text) { return text.trimmed().isEmpty(); }))
            plan.notes << QStringLiteral(
                              "The plan %1 keeps is empty, so the deck holds only the sections' "
                              "titles: name a plan file to export, or type the plan in the window.")
                              .arg(Product::name);
        return plan;
    }
    const QString source = planFile == "-" ? QStringLiteral("standard input") : planFile;
    const QByteArray bytes = planFile == "-" ? standardInput() : PlanFile::readBytes(planFile);
    plan.texts = PlanFile::parse(source, bytes);
    if (const QByteArray logo = PlanFile::logoPicture(bytes); !logo.isEmpty()) {
        try {
            plan.texts.insert(PlanKeys::logo, PlanLogo::adoptBytes(logo, source, workFolder));
            plan.logoFolder = workFolder;
        } catch (const Failure& refused) {
            plan.texts.insert(PlanKeys::logo, QString());
            plan.notes << QStringLiteral("The deck has no logo. %1").arg(refused.description());
        }
    }
    return plan;
}

// What making the deck came to.
struct MadeDeck {
    // False when no deck was saved, or the engine went away (it ended, or
    // ran out of time) and the deck is the template half filled.
    bool deckMade = false;
    // A line a slide, to print.
    QStringList slides;
    // Why the copy in the chosen format could not be made, "" when it was.
    QString copyFailure;
};

// Makes the deck at deck with the engine; when copy is another file, also
// a copy in format there, from the deck as generation saved it, still open
// (rather than from the deck opened once more, most of a second each time).
MadeDeck makeDeck(const ExportPlan& plan, PresentationEngine& engine, PrintedReports& reports, const QString& deck,
                  const QString& copy, SaveAsFileType format)
{
    MadeDeck made;
    const auto whileSaved = [&](PresentationApplication& app, Presentation& saved) {
        if (copy != deck) {
            try {
                saved.SaveCopyAs(copy, format);
            } catch (const EngineUnavailable&) {
                throw;
            } catch (const Failure& failure) {
                made.copyFailure = failure.description();
            }
        }
        made.slides = slideLines(app, saved);
    };
    NoPauses clock;
    const bool engineStayed = DeckGeneration::generateBusinessPlan(
        deck,
        {[&] { return plan.texts.value(PlanKeys::companyName); }, [&] { return plan.texts.value(PlanKeys::planTitle); },
         [&](const QString& key) { return plan.texts.value(key); }, plan.language},
        {engine, reports, clock, Product::programFolder(), plan.logoFolder, whileSaved});
    made.deckMade = engineStayed && QFileInfo::exists(deck);
    return made;
}

// Prints a line a slide and what the user is told, then puts the deck made
// in the chosen format at target.
ExportExit writeTarget(const MadeDeck& made, const QStringList& reports, const QString& copy, const QString& target)
{
    for (const QString& line : made.slides)
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    for (const QString& report : reports)
        printError(report);
    try {
        if (!made.copyFailure.isEmpty())
            throw Failure(made.copyFailure);
        Files::copyReplacing(copy, target);
        return ExportExit::Made;
    } catch (const Failure& failure) {
        printError(failure.description());
        return ExportExit::NotWritten;
    }
}

}  // namespace

ExportExit exportDeck(const QString& target, const QString& planFile)
{
    const std::optional<SaveAsFileType> format = formatOfName(target);
    if (!format) {
        printError(QStringLiteral("%1: the name must end in .ppt, .pptx, .odp or .pdf.").arg(target));
        return ExportExit::NotWritten;
    }
    if (const QString kept = keptFileAt(target, planFile); !kept.isEmpty()) {
        printError(QStringLiteral("%1 is %2, which a deck never replaces: choose another name for the deck.")
                       .arg(QDir::toNativeSeparators(target), kept));
        return ExportExit::NotWritten;
    }
    // The working copies go to the run's private folder; the plan is held
    // in memory, and the user's store is only read.
    HeadlessRun run;
    if (!run.problem().isEmpty()) {
        printError(run.problem());
        return run.problemExit();
    }
    ExportPlan plan;
    try {
        plan = readPlan(planFile, run.workFolder(), run.engine());
    } catch (const Failure& failure) {
        return run.planNotRead(failure);
    }
    PrintedReports reports;
    reports.reports = plan.notes;
    const QString deck = QDir(run.workFolder()).filePath(QStringLiteral("ps00000000.ppt"));
    // The copy in the chosen format takes the target's place once the deck
    // is made.
    const QString copy = *format == SaveAsFileType::Presentation
                             ? deck
                             : QDir(run.workFolder()).filePath(QStringLiteral("copy.") + QFileInfo(target).suffix());
    const MadeDeck made = makeDeck(plan, run.engine(), reports, deck, copy, *format);
    if (run.interruptedBy())
        return exitForSignal(run.interruptedBy());
    if (!made.deckMade) {
        for (const QString& report : std::as_const(reports.reports))
            printError(report);
        return ExportExit::EngineFailed;
    }
    const ExportExit exit = writeTarget(made, reports.reports, copy, target);
    // A copy cut short by a signal is told as ended by it.
    if (exit == ExportExit::NotWritten && run.interruptedBy())
        return exitForSignal(run.interruptedBy());
    return exit;
}
