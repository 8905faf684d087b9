#pragma once

#include <QString>

// The program's modal message boxes. Every box but the error report shows the
// application title as its caption.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // "Application Error", warning icon, OK only.
    virtual void errorReport(const QString& text) = 0;
    // OK only, no icon.
    virtual void message(const QString& text) = 0;
    // Yes and No, no icon; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // A save dialog that does not ask about overwriting; the chosen name
    // exactly as typed, or the empty text when cancelled.
    virtual QString askSaveFileName(const QString& title, const QString& filter) = 0;
};
