#pragma once

#include "shell/error_trap.h"

#include <QWidget>

#include <functional>

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
    // Has a screen reader say the line at once, wherever the focus is; from
    // a window that is not shown yet, as it shows.
    void say(const QString& line);
    // Runs an event handler that has no trap of its own: a failure is
    // reported in the error report box under the handler's name.
    void handle(const QString& procedure, const std::function<void()>& handler);

protected:
    // The error trap of one of this window's procedures.
    ErrorTrap trapFor(const QString& procedure);
    void showEvent(QShowEvent* event) override;
    // Runs once, after the window was first placed on the screen.
    virtual void firstShown() {}
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
