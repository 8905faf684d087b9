#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C) into a call on
// the event loop, so that the program closes its windows as if the user had
// and nothing it started is left running.
class Termination : public QObject {
public:
    explicit Termination(std::function<void()> onSignal);
    ~Termination() override;

private:
    std::function<void()> mOnSignal;
    QSocketNotifier* mNotifier = nullptr;
};
