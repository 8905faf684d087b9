#pragma once

// What a command run without a window (an export, an import) needs around
// its engine: a private working folder, removed however the run ends (and
// by the next run or start, should this one be killed); a headless engine
// on a profile and pipe of its own, so that a running copy of the program
// and its engines are never touched; and Ctrl+C or a kill ending the
// engine's call at once.
#include "engine/uno/uno_engine.h"
#include "platform/window_system.h"
#include "shell/export_contract.h"
#include "shell/failure.h"
#include "shell/termination.h"

#include <QLockFile>
#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <optional>

// Prints a line on standard error: "orvendale: " and the text.
void printError(const QString& text);

class HeadlessRun {
public:
    HeadlessRun();
    ~HeadlessRun();
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    // What stands in the way of the run, for the user, and the code it ends
    // with; "" when it can go on.
    QString problem() const { return mProblem; }
    ExportExit problemExit() const { return mProblemExit; }

    QString workFolder() const { return mWork.path(); }
    UnoEngine& engine() { return *mEngine; }
    // The signal that ended the run, 0 for none.
    int interruptedBy() const { return mInterrupted; }
    // Tells why the plan could not be read, and returns the code the run
    // ends with: that of the signal that ended it, else that of an engine
    // that failed, else that of a plan that cannot be read.
    ExportExit planNotRead(const Failure& failure) const;

    // Commands without a window that may run at once, each on an engine
    // profile of its own.
    static constexpr int kProfiles = 8;

private:
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

    bool prepareWorkFolder();
    bool prepareEngine();

    QString mProblem;
    ExportExit mProblemExit = ExportExit::Made;
    QTemporaryDir mWork;
    std::unique_ptr<QLockFile> mProfileHeld;
    NoWindows mWindows;
    std::optional<UnoEngine> mEngine;
    std::atomic<int> mInterrupted = 0;
    std::optional<Termination> mTermination;
};
