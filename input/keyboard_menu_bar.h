#pragma once

#include <QMenuBar>
#include <QPointer>

// A menu bar that gives the keyboard back to the control it came from when
// Escape leaves it with no menu chosen, however many menus were opened from
// it on the way: the toolkit's own bar keeps the keyboard after a second
// menu was opened while it had it, and then takes every letter typed as a
// menu's key.
class KeyboardMenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit KeyboardMenuBar(QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointer<QWidget> mCameFrom;
};
