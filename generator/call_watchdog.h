#pragma once

#include <QtGlobal>

// Calls into the engine block until it answers. An engine that is stuck
// (a deadlock inside it) would freeze the program for good, so every call
// runs under a deadline: when it passes, the engine processes of this program
// are killed, and the pending call fails as for a crashed engine.
namespace CallWatchdog {

constexpr int kDeadlineMs = 20000;

void watchProcess(qint64 pid);
void forgetProcess(qint64 pid);

// Arms the deadline for the call in progress; calls may nest.
class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

}  // namespace CallWatchdog
