#include "shell/error_trap.h"

#include "shell/error_report.h"
#include "shell/failure.h"

#include <exception>

ErrorTrap::ErrorTrap(Dialogs& dialogs, QString location) : mDialogs(&dialogs), mLocation(std::move(location)) {}

ErrorTrap ErrorTrap::silent()
{
    return ErrorTrap();
}

bool ErrorTrap::step(int line, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const Failure& failure) {
        report(failure.description(), line);
    } catch (const std::exception& error) {
        report(QString::fromLocal8Bit(error.what()), line);
    } catch (...) {
        report(QStringLiteral("An unexpected internal failure occurred."), line);
    }
    return false;
}

bool ErrorTrap::test(int line, const std::function<bool()>& condition)
{
    bool holds = true;
    step(line, [&] { holds = condition(); });
    return holds;
}

void ErrorTrap::report(const QString& description, int line)
{
    if (mDialogs)
        ErrorReport::show(*mDialogs, description, mLocation, line);
}
