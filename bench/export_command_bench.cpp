// "orvendale --export deck.pdf plan" against LibreOffice's own conversion of
// the same deck to PDF ("soffice --headless --convert-to pdf"), each on a
// fresh profile as on a first run, over three rounds: the export starts an
// engine too, and should take at most 1.5 times as long.
#include "bench/timed_run.h"
#include "engine/uno/engine_settings.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    PlanFile::Texts plan;
    for (const QString& key : PlanFile::keys())
        plan.insert(key, QStringLiteral("A line of the plan\r\nAnother line\r\nA last line"));
    plan[PlanKeys::companyName] = QStringLiteral("Lumen Orchard Ltd.");
    PlanFile::write(folder.filePath("plan.orvendale"), plan);
    const QString orvendale = QCoreApplication::applicationDirPath() + QStringLiteral("/../program/orvendale");
    const QString soffice = QFileInfo(EngineSettings::forUser().officeProgram).dir().filePath("soffice");
    for (int round = 1; round <= 3; ++round) {
        const QString home = folder.filePath(QStringLiteral("home-%1").arg(round));
        QDir().mkpath(home);
        const QString deck = folder.filePath(QStringLiteral("deck-%1.ppt").arg(round));
        if (secondsToRun(orvendale, {"--export", deck, folder.filePath("plan.orvendale")}, home) < 0)
            return 1;
        const double exported =
            secondsToRun(orvendale, {"--export", deck + ".pdf", folder.filePath("plan.orvendale")}, home + "-again");
        const QString converted = folder.filePath(QStringLiteral("converted-%1").arg(round));
        const double conversion =
            secondsToRun(soffice,
                         {"-env:UserInstallation=" + QUrl::fromLocalFile(home + "-soffice").toString(), "--headless",
                          "--convert-to", "pdf", "--outdir", converted, deck},
                         home);
        if (exported < 0 || conversion < 0)
            return 1;
        std::printf(
            "round %d: --export to PDF %.2f s; bound: soffice --convert-to pdf %.2f s; ratio %.2f (target at "
            "most 1.5)\n",
            round, exported, conversion, exported / conversion);
    }
    return 0;
}
