// Importing a business plan document. First a 30-page .docx read into the
// preview (the document through the engine's word processor, its parts and
// sections worked out) by the engine kept ahead of need, against the 3 s a
// user may wait for it. Then "orvendale --export deck.pdf plan.docx" against
// the export of the same plan as a plan file, each on a fresh profile as on
// a first run, within 1.5 times as long; LibreOffice's own conversion of the
// finished deck to PDF is printed beside them. Three rounds each.
#include "bench/bench_engine.h"
#include "bench/timed_run.h"
#include "generator/document_reading.h"
#include "plan/plan_import.h"
#include "tests/support/written_documents.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include <cstdio>

namespace {

// About 30 pages: 15 headings, 120 paragraphs of 100 words.
QString thirtyPages()
{
    static const QStringList headings = {"Executive Summary",
                                         "Company Description",
                                         "Market Analysis",
                                         "Industry Trends",
                                         "Competitive Analysis",
                                         "Management Team",
                                         "Products and Services",
                                         "Marketing Plan",
                                         "Milestones",
                                         "Financial Projections",
                                         "Funding Request",
                                         "Risks",
                                         "Operations",
                                         "Key Issues",
                                         "Appendix"};
    QString html = "<html><head><title>Lumen Orchard plan</title></head><body><p>Lumen Orchard Ltd.</p>";
    int n = 0;
    for (const QString& heading : headings) {
        html += "<h1>" + heading + "</h1>";
        for (int p = 0; p < 8; ++p, ++n) {
            QStringList words;
            for (int w = 0; w < 100; ++w)
                words << QStringLiteral("word%1").arg((n * 31 + w) % 97) + (w % 12 == 11 ? "." : "");
            html += "<p>Paragraph " + QString::number(n) + " opens here. " + words.join(' ') + ".</p>";
        }
    }
    return html + "</body></html>";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    BenchEngine bench;
    const QString document = bench.folder.filePath("plan.docx");
    writeDocument(bench.instance.settings(), thirtyPages(), document);
    std::printf("30 pages: %lld bytes\n", static_cast<long long>(QFileInfo(document).size()));

    for (int round = 1; round <= 3; ++round) {
        bench.engine.prepareSpare({});
        QEventLoop settled;
        bench.engine.whenSpareSettled([&](bool) { settled.quit(); });
        settled.exec();
        QElapsedTimer timer;
        timer.start();
        const ImportedDocument read = DocumentReading::read(bench.engine, document, bench.folder.path());
        const QList<PlanImport::Part> parts = PlanImport::parts(read);
        const PlanImport::Result result = PlanImport::sectionTexts(read, parts, PlanImport::Prose::FirstSentences);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("round %d: the document in the preview (%lld parts, %d sections) in %.2f s, bound 3 s: %.2f x\n",
                    round, static_cast<long long>(parts.size()), static_cast<int>(result.sectionTexts.size()), seconds,
                    seconds / 3.0);
    }
    bench.engine.endInstancesStartedHere();

    const QString orvendale = QCoreApplication::applicationDirPath() + QStringLiteral("/../program/orvendale");
    const QString soffice = QFileInfo(EngineSettings::forUser().officeProgram).dir().filePath("soffice");
    const QString planFile = bench.folder.filePath("plan.orvendale");
    if (secondsToRun(orvendale, {"--import", document, planFile}, bench.folder.filePath("home-import")) < 0)
        return 1;
    for (int round = 1; round <= 3; ++round) {
        const auto home = [&](const char* what) {
            const QString path = bench.folder.filePath(QStringLiteral("home-%1-%2").arg(what).arg(round));
            QDir().mkpath(path);
            return path;
        };
        const QString fromFile = bench.folder.filePath(QStringLiteral("file-%1.pdf").arg(round));
        const QString fromDocument = bench.folder.filePath(QStringLiteral("document-%1.pdf").arg(round));
        const QString deck = bench.folder.filePath(QStringLiteral("deck-%1.ppt").arg(round));
        const double file = secondsToRun(orvendale, {"--export", fromFile, planFile}, home("file"));
        const double imported = secondsToRun(orvendale, {"--export", fromDocument, document}, home("document"));
        if (file < 0 || imported < 0 || secondsToRun(orvendale, {"--export", deck, planFile}, home("deck")) < 0)
            return 1;
        const double converted =
            secondsToRun(soffice,
                         {"-env:UserInstallation=" + QUrl::fromLocalFile(home("soffice")).toString(), "--headless",
                          "--convert-to", "pdf", "--outdir", bench.folder.filePath("converted"), deck},
                         home("soffice-home"));
        std::printf(
            "round %d: --export from the document %.2f s, from the plan file %.2f s: %.2f x, bound 1.5 x "
            "(LibreOffice's own conversion of the deck: %.2f s)\n",
            round, imported, file, imported / file, converted);
    }
    return 0;
}
