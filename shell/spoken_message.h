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
    // The last line said, "" before the first.
    QString lastSaid() const { return accessibleName(); }
};
