#include "input/keyboard_menu_bar.h"

#include <QApplication>
#include <QKeyEvent>

KeyboardMenuBar::KeyboardMenuBar(QWidget* parent) : QMenuBar(parent)
{
    // The control of this window that had the keyboard before the bar took
    // it; focus coming from the bar's own menus says nothing about that.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (now == this && old && old != this && old->window() == window())
            mCameFrom = old;
    });
}

void KeyboardMenuBar::keyPressEvent(QKeyEvent* event)
{
    QMenuBar::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape && hasFocus() && !activeAction() && mCameFrom)
        mCameFrom->setFocus(Qt::MenuBarFocusReason);
}
