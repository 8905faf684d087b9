#pragma once

#include "window_system.h"

// The X11 display named by $DISPLAY, on a connection of our own. Errors of
// the X server never end the program.
class X11WindowSystem : public WindowSystem {
public:
    WindowId findWindow(const QString& className) override;
    void setParent(WindowId child, WindowId parent) override;
    WindowId createParkingWindow(const QString& className, int width, int height) override;
    void resizeWindow(WindowId window, int width, int height) override;
    void destroyWindow(WindowId window) override;
};
