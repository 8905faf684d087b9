#include "call_watchdog.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <mutex>
#include <set>
#include <thread>

namespace CallWatchdog {

namespace {

class Watchdog {
public:
    Watchdog() : mThread([this] { run(); }) { mThread.detach(); }

    void watch(qint64 pid)
    {
        std::lock_guard lock(mMutex);
        mProcesses.insert(pid);
    }

    void forget(qint64 pid)
    {
        std::lock_guard lock(mMutex);
        mProcesses.erase(pid);
    }

    void arm()
    {
        std::lock_guard lock(mMutex);
        if (mDepth++ == 0) {
            mDeadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
            mWake.notify_one();
        }
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
            if (mWake.wait_until(lock, deadline) == std::cv_status::timeout && mDepth > 0
                && mDeadline == deadline) {
                for (const qint64 pid : mProcesses)
                    ::kill(static_cast<pid_t>(pid), SIGKILL);
                mDeadline = std::chrono::steady_clock::time_point::max();
            }
        }
    }

    std::mutex mMutex;
    std::condition_variable mWake;
    std::set<qint64> mProcesses;
    int mDepth = 0;
    std::chrono::steady_clock::time_point mDeadline;
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

Guard::Guard()
{
    watchdog().arm();
}

Guard::~Guard()
{
    watchdog().disarm();
}

}  // namespace CallWatchdog
