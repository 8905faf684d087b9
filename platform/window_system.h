#pragma once

#include <QList>
#include <QRect>
#include <QString>

#include <functional>

// The window calls that taking the show into the viewer needs. Window ids
// are the display's own; 0 is the null handle. An operation on a window that
// is gone does nothing.
class WindowSystem {
public:
    using WindowId = unsigned long;
    virtual ~WindowSystem() = default;

    // The first top-level window of the class, the most recently shown, or 0.
    virtual WindowId findWindow(const QString& className) = 0;
    // Makes child a child of parent at its top-left corner; a null handle
    // changes nothing.
    virtual void setParent(WindowId child, WindowId parent) = 0;
    // A top-level window of the class that the window manager leaves alone,
    // kept outside the screen until it is given a parent.
    virtual WindowId createParkingWindow(const QString& className, int width, int height) = 0;
    // Resizes the window, in the screen's own pixels, and makes the windows
    // inside it fill it.
    virtual void resizeWindow(WindowId window, int width, int height) = 0;
    virtual void destroyWindow(WindowId window) = 0;
    // Makes the window a top-level window over every other one at the area
    // (the screen's own pixels, from the display's top-left corner) and
    // gives it the keyboard.
    virtual void showOver(WindowId window, const QRect& area) = 0;
    // The screens' areas (the screen's own pixels, from the display's
    // top-left corner) in the order the display numbers them, which is the
    // order the presentation engine counts its displays in; one area for a
    // display of one screen.
    virtual QList<QRect> screenAreas() = 0;
    // Gives the keyboard to the window, at once and whatever a window
    // manager would do.
    virtual void giveKeyboard(WindowId window) = 0;
    // The window that takes the keys of a window another program made: the
    // last window inside it, or the window itself when it holds none.
    virtual WindowId keyWindowOf(WindowId window) = 0;
    // From now on the keys (Qt key codes) pressed while the keyboard is in
    // the window, or a window inside it, go to onKey instead of to those
    // windows, on the event loop's thread; Tab pressed with Shift comes as
    // Qt::Key_Backtab. A later call for the same window replaces the keys;
    // none stops watching.
    virtual void watchKeys(WindowId window, const QList<int>& keys, std::function<void(int key)> onKey) = 0;
};
