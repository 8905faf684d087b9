#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C) into a call on
// the event loop, so that the program closes its windows as if the user had
// and nothing it started is left running. The event loop may be waiting on
// a long piece of work (an export the engine writes); interruptWork is told
// at once, on a thread of its own, so that it can end that work and the
// loop gets its turn; it is told which signal came.
class Termination : public QObject {
public:
    Termination(std::function<void()> onSignal, std::function<void(int signal)> interruptWork);
    ~Termination() override;

private:
    std::function<void()> mOnSignal;
    QSocketNotifier* mNotifier = nullptr;
};
