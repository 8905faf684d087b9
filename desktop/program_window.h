#pragma once

#include "shell/error_trap.h"

#include <QWidget>

class Dialogs;

class SpokenMessage;

// What the program's two windows share: a fixed single border, the error
// trap of their procedures under the window's name ("Form1.Form_Load"),
// their place in the middle of the screen the first time they are shown,
// and lines said to a screen reader.
class ProgramWindow : public QWidget {
    Q_OBJECT
public:
    ProgramWindow(QString name, Dialogs& dialogs);

    // The line last said to a screen reader, "" before the first.
    QString lastSaid() const;

protected:
    // The error trap of one of this window's procedures.
    ErrorTrap trapFor(const QString& procedure);
    void showEvent(QShowEvent* event) override;
    // Runs once, after the window was first placed on the screen.
    virtual void firstShown() {}
    // Has a screen reader say the line at once, wherever the focus is; from
    // a window that is not shown yet, as it shows.
    void say(const QString& line);
    // The same, before work that holds the window up.
    void sayBeforeLongWork(const QString& line);
    void hideEvent(QHideEvent* event) override;
    // Return and Enter press the button that has the focus, as Space does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    SpokenMessage* mSpoken;
    QString mName;
    Dialogs& mDialogs;
    bool mPlaced = false;
};
