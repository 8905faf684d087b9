#pragma once

#include <QWidget>

// A line for the screen reader to say at once, whatever has the focus: a
// notification that shows anew with each line. It takes no room and draws
// nothing; the window it lies on shows it.
class SpokenMessage : public QWidget {
    Q_OBJECT
public:
    explicit SpokenMessage(QWidget* window);

    void say(const QString& line);
    // Lets a screen reader that listens ask about the line just said, before
    // work that holds the window up: it asks the window, which answers only
    // between steps of such work.
    void letItBeAsked();
    // A window that is hidden says its last line no more as it shows again.
    void forget();
    // The last line said, "" before the first.
    QString lastSaid() const { return accessibleName(); }
};
