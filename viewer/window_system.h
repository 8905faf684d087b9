#pragma once

#include <QString>

// Finding the show's window and giving it a parent.
class WindowSystem {
public:
    using WindowId = unsigned long;
    virtual ~WindowSystem() = default;
    // The first top-level window of the class, or 0.
    virtual WindowId findWindow(const QString& className) = 0;
    // Makes child a child of parent; a null handle changes nothing.
    virtual void setParent(WindowId child, WindowId parent) = 0;
};

// The X11 display's windows.
class X11WindowSystem : public WindowSystem {
public:
    WindowId findWindow(const QString& className) override;
    void setParent(WindowId child, WindowId parent) override;
};
