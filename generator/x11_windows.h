#pragma once

#include <QString>

// The few X11 window operations the show embedding needs, on a connection of
// our own to the display named by $DISPLAY. Window ids are X11 ids; 0 is the
// null handle. Failures of the X server never end the program: an operation
// on a window that is gone does nothing.
namespace X11Windows {

using WindowId = unsigned long;

// The first top-level window whose class is className, or 0.
WindowId findWindow(const QString& className);

// Makes child a child of parent at the parent's top-left corner; a null
// child or parent changes nothing.
void setParent(WindowId child, WindowId parent);

// A top-level window of the given class that the window manager leaves alone,
// shown far outside the screen until it is given a parent.
WindowId createParkingWindow(const QString& className, int width, int height);
// Resizes the window and makes the windows inside it fill it.
void resizeWindow(WindowId window, int width, int height);
void destroyWindow(WindowId window);

}  // namespace X11Windows
