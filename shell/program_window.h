#pragma once

#include "shell/error_trap.h"

#include <QWidget>

class Dialogs;

// What the program's two windows share: a fixed single border, the error
// trap of their procedures under the window's name ("Form1.Form_Load"), and
// their place in the middle of the screen the first time they are shown.
class ProgramWindow : public QWidget {
    Q_OBJECT
public:
    ProgramWindow(QString name, Dialogs& dialogs);

protected:
    // The error trap of one of this window's procedures.
    ErrorTrap trapFor(const QString& procedure);
    void showEvent(QShowEvent* event) override;
    // Runs once, after the window was first placed on the screen.
    virtual void firstShown() {}

private:
    QString mName;
    Dialogs& mDialogs;
    bool mPlaced = false;
};
