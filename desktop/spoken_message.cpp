#include "desktop/spoken_message.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QElapsedTimer>

SpokenMessage::SpokenMessage(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("SpokenMessage"));
    setGeometry(0, 0, 1, 1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Shown only once there is a line to say.
    hide();
}

void SpokenMessage::say(const QString& line)
{
    setAccessibleName(line);
    // A screen reader says a notification as it comes into view: at once in
    // a window on the screen, as the window shows otherwise.
    hide();
    show();
}

void SpokenMessage::letItBeAsked()
{
    // The screen reader asks the window about the line before it says it.
    constexpr int kAskingMs = 300;
    if (!QAccessible::isActive() || !window()->isVisible())
        return;
    QElapsedTimer asked;
    asked.start();
    while (asked.elapsed() < kAskingMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, kAskingMs);
}

void SpokenMessage::forget()
{
    hide();
}
