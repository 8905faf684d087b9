#include "shell/termination.h"

#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int gSignalPipe[2] = {-1, -1};
int gInterruptPipe[2] = {-1, -1};

void onSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(gSignalPipe[0], &byte, 1);
    [[maybe_unused]] const auto told = ::write(gInterruptPipe[0], &byte, 1);
}

}  // namespace

Termination::Termination(std::function<void()> onSignal_, std::function<void(int signal)> interruptWork)
    : mOnSignal(std::move(onSignal_))
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0
        || ::socketpair(AF_UNIX, SOCK_STREAM, 0, gInterruptPipe) != 0)
        return;
    // Waits for signals as long as the process lives; the program ends
    // with it blocked in its read.
    std::thread([interruptWork = std::move(interruptWork)] {
        char byte = 0;
        while (::read(gInterruptPipe[1], &byte, 1) == 1)
            interruptWork(byte);
    }).detach();
    mNotifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        [[maybe_unused]] const auto read = ::read(gSignalPipe[1], &byte, 1);
        mOnSignal();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
}

Termination::~Termination()
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        std::signal(signal, SIG_DFL);
}
