#include "shell/program_window.h"

#include "shell/error_report.h"
#include "shell/window_style.h"

ProgramWindow::ProgramWindow(QString name, Dialogs& dialogs)
    : QWidget(nullptr, Main::fixedWindowFlags()), mName(std::move(name)), mDialogs(dialogs)
{
}

ErrorTrap ProgramWindow::trapFor(const QString& procedure)
{
    return ErrorTrap(mDialogs, Main::errorLocation(mName, procedure));
}

void ProgramWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (mPlaced)
        return;
    mPlaced = true;
    Main::centreOnScreen(*this);
    firstShown();
}
