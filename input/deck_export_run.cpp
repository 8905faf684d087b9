#include "input/deck_export_run.h"

#include <csignal>
#include <sys/prctl.h>

DeckExportRun::DeckExportRun(QString program, QStringList leading)
    : mProgram(std::move(program)), mLeading(std::move(leading))
{
    connect(&mProcess, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        emit finished(status == QProcess::NormalExit ? static_cast<ExportExit>(code) : ExportExit::Interrupted,
                      QString::fromLocal8Bit(mProcess.readAllStandardError()));
    });
    connect(&mProcess, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit finished(ExportExit::EngineFailed, mProcess.errorString());
    });
}

// An export still running when the window goes is interrupted and waited
// for, so that its engine ends with it.
DeckExportRun::~DeckExportRun()
{
    if (running()) {
        cancel();
        if (!mProcess.waitForFinished(20000))
            mProcess.kill();
    }
}

void DeckExportRun::start(const QString& target, const QByteArray& plan)
{
    // Cancel interrupts the export even when this program was started with
    // interrupts ignored (from a script's background job, say), which its
    // children would inherit. A program that ends at once, without
    // unwinding, or is killed, takes the export with it: the export is
    // ended as by a logout, and ends its engine and files with it.
    mProcess.setChildProcessModifier([] {
        std::signal(SIGINT, SIG_DFL);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    mProcess.start(mProgram, mLeading + QStringList{target, QStringLiteral("-")});
    mProcess.write(plan);
    mProcess.closeWriteChannel();
}

void DeckExportRun::cancel()
{
    if (running())
        ::kill(static_cast<pid_t>(mProcess.processId()), SIGINT);
}
