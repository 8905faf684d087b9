#include "shell/spoken_message.h"

SpokenMessage::SpokenMessage(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("SpokenMessage"));
    setGeometry(0, 0, 1, 1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SpokenMessage::say(const QString& line)
{
    setAccessibleName(line);
    // A screen reader says a notification as it comes into view.
    hide();
    show();
}
