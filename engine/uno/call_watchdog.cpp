#include "engine/uno/call_watchdog.h"

#include "engine/uno/process_stat.h"

#include <condition_variable>
#include <csignal>
#include <map>
#include <mutex>
#include <thread>

namespace CallWatchdog {

namespace {

using Clock = std::chrono::steady_clock;

// Processor time a process has used so far, in clock ticks; -1 once it has
// ended or stopped (a stopped process does no work).
qint64 workDone(qint64 pid)
{
    const ProcessStat stat = ProcessStat::of(pid);
    return stat.running() && !stat.stopped() ? stat.cpuTicks : -1;
}

class Watchdog {
public:
    Watchdog() : mThread([this] { run(); }) { mThread.detach(); }

    void watch(qint64 pid)
    {
        std::lock_guard lock(mMutex);
        mProcesses.emplace(pid, workDone(pid));
    }

    void forget(qint64 pid)
    {
        std::lock_guard lock(mMutex);
        mProcesses.erase(pid);
    }

    void setPeriod(std::chrono::milliseconds period)
    {
        std::lock_guard lock(mMutex);
        mPeriod = period;
    }

    std::chrono::milliseconds period()
    {
        std::lock_guard lock(mMutex);
        return mPeriod;
    }

    bool killedAStuckEngine()
    {
        std::lock_guard lock(mMutex);
        return mKilled;
    }

    void arm()
    {
        std::lock_guard lock(mMutex);
        if (mDepth++ == 0) {
            mKilled = false;
            mCallStarted = Clock::now();
            mDeadline = mCallStarted + mPeriod;
            for (auto& [pid, work] : mProcesses)
                work = workDone(pid);
            mWake.notify_one();
        }
    }

    void endCallInProgress()
    {
        std::lock_guard lock(mMutex);
        if (mDepth == 0)
            return;
        for (const auto& [pid, work] : mProcesses)
            ::kill(static_cast<pid_t>(pid), SIGKILL);
    }

    void disarm()
    {
        std::lock_guard lock(mMutex);
        --mDepth;
    }

private:
    void run()
    {
        std::unique_lock lock(mMutex);
        for (;;) {
            if (mDepth == 0) {
                mWake.wait(lock);
                continue;
            }
            const auto deadline = mDeadline;
            if (mWake.wait_until(lock, deadline) != std::cv_status::timeout || mDepth == 0 || mDeadline != deadline)
                continue;
            if (workedSinceLastLook() && Clock::now() - mCallStarted < kLongestBusyCall) {
                mDeadline = Clock::now() + mPeriod;
                continue;
            }
            for (const auto& [pid, work] : mProcesses)
                ::kill(static_cast<pid_t>(pid), SIGKILL);
            mKilled = true;
            mDeadline = Clock::time_point::max();
        }
    }

    bool workedSinceLastLook()
    {
        bool worked = false;
        for (auto& [pid, work] : mProcesses) {
            const qint64 now = workDone(pid);
            worked = worked || (now >= 0 && now > work);
            work = now;
        }
        return worked;
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::map<qint64, qint64> mProcesses;  // pid -> work done at the last look
    std::chrono::milliseconds mPeriod = kDefaultPeriod;
    int mDepth = 0;
    bool mKilled = false;
    Clock::time_point mCallStarted;
    Clock::time_point mDeadline;
    std::thread mThread;
};

Watchdog& watchdog()
{
    static Watchdog* instance = new Watchdog;  // lives as long as the process
    return *instance;
}

}  // namespace

void watchProcess(qint64 pid)
{
    if (pid > 0)
        watchdog().watch(pid);
}

void forgetProcess(qint64 pid)
{
    watchdog().forget(pid);
}

void setPeriod(std::chrono::milliseconds period)
{
    watchdog().setPeriod(period);
}

std::chrono::milliseconds period()
{
    return watchdog().period();
}

void endCallInProgress()
{
    watchdog().endCallInProgress();
}

bool killedAStuckEngine()
{
    return watchdog().killedAStuckEngine();
}

Guard::Guard()
{
    watchdog().arm();
}

Guard::~Guard()
{
    watchdog().disarm();
}

}  // namespace CallWatchdog
