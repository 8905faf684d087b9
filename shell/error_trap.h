#pragma once

#include <QString>

#include <functional>

class Dialogs;

// The error trap of a procedure. Each step runs under a line number; a step
// that fails is reported in the error report box with the procedure's location
// and that number, and the procedure carries on with its next step. A test
// that fails counts as holding, so the steps it guards run next. A silent trap
// skips failing steps without a word.
//
//     ErrorTrap trap(dialogs, ErrorReport::location("Form1", "Form_Load"));
//     trap.step(100, [&] { applySkin(...); });
//     if (trap.test(106, [&] { return Files::exists(path); }))
//         trap.step(108, [&] { loadCursor(path); });
class ErrorTrap {
public:
    ErrorTrap(Dialogs& dialogs, QString location);
    static ErrorTrap silent();

    // Runs body; returns false when it failed (and was reported).
    bool step(int line, const std::function<void()>& body);
    // Evaluates condition; a failing evaluation answers true.
    bool test(int line, const std::function<bool()>& condition);

private:
    ErrorTrap() = default;
    void report(const QString& description, int line);

    Dialogs* mDialogs = nullptr;
    QString mLocation;
};
