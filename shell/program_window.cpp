#include "shell/program_window.h"

#include "shell/error_report.h"
#include "shell/window_style.h"

ProgramWindow::ProgramWindow(QString name, Dialogs& dialogs)
    : QWidget(nullptr, WindowStyle::fixedWindowFlags()), mName(std::move(name)), mDialogs(dialogs)
{
}

ErrorTrap ProgramWindow::trapFor(const QString& procedure)
{
    return ErrorTrap(mDialogs, ErrorReport::location(mName, procedure));
}

void ProgramWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (mPlaced)
        return;
    mPlaced = true;
    WindowStyle::centreOnScreen(*this);
    firstShown();
}
