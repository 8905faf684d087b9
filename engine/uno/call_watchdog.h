#pragma once

#include <QtGlobal>

#include <chrono>

// Calls into the engine block until it answers. An engine that is stuck
// (a deadlock inside it) would freeze the program for good, so every call
// runs under a deadline. When it passes while the engine is still using the
// processor (saving a long deck, say), the call is given another period;
// when the engine did no work for a whole period, the engine processes of
// this program are killed and the pending call fails.
namespace CallWatchdog {

constexpr std::chrono::milliseconds kDefaultPeriod{20000};
// However busy it is, no single call is waited for longer than this.
constexpr std::chrono::minutes kLongestBusyCall{1};

void watchProcess(qint64 pid);
void forgetProcess(qint64 pid);

// The length of one period without work after which an engine is killed.
void setPeriod(std::chrono::milliseconds period);
std::chrono::milliseconds period();

// Ends the call in progress, if any, from any thread: the engine processes
// it may wait on are killed, and it fails.
void endCallInProgress();

// True when the watchdog killed a stuck engine during the call in progress;
// the failing call reads it to say why the engine went away.
bool killedAStuckEngine();

// Arms the deadline for the call in progress; calls may nest.
class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

}  // namespace CallWatchdog
