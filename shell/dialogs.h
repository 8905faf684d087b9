#pragma once

#include <QString>
#include <QStringList>

// What the user chose in a save dialog.
struct SaveChoice {
    QString fileName;  // exactly as typed; empty when cancelled
    QString filter;    // the file type selected when the dialog closed
};

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
    // A save dialog that does not ask about overwriting and offers the file
    // types in this order, the first selected.
    virtual SaveChoice askSaveFileName(const QString& title, const QStringList& filters) = 0;
    // An open dialog for one existing file of the types offered; the file's
    // path, or "" when cancelled.
    virtual QString askOpenFileName(const QString& title, const QStringList& filters) = 0;
};
