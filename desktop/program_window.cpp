#include "desktop/program_window.h"

#include "desktop/accessible_roles.h"
#include "desktop/spoken_message.h"
#include "desktop/window_style.h"
#include "shell/error_report.h"

#include <QAbstractButton>
#include <QKeyEvent>

ProgramWindow::ProgramWindow(QString name, Dialogs& dialogs)
    : QWidget(nullptr, WindowStyle::fixedWindowFlags()),
      mSpoken(new SpokenMessage(this)),
      mName(std::move(name)),
      mDialogs(dialogs)
{
    installAccessibleRoles();
}

QString ProgramWindow::lastSaid() const
{
    return mSpoken->lastSaid();
}

void ProgramWindow::say(const QString& line)
{
    mSpoken->say(line);
}

void ProgramWindow::sayBeforeLongWork(const QString& line)
{
    mSpoken->say(line);
    mSpoken->letItBeAsked();
}

void ProgramWindow::keyPressEvent(QKeyEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(focusWidget());
    if (button && button->isEnabled() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && event->modifiers() == Qt::NoModifier) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProgramWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    mSpoken->forget();
}

ErrorTrap ProgramWindow::trapFor(const QString& procedure)
{
    return ErrorTrap(mDialogs, ErrorReport::location(mName, procedure));
}

void ProgramWindow::handle(const QString& procedure, const std::function<void()>& handler)
{
    trapFor(procedure).step(100, handler);
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
