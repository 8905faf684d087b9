#include "window_system.h"

#include "x11_windows.h"

WindowSystem::WindowId X11WindowSystem::findWindow(const QString& className)
{
    return X11Windows::findWindow(className);
}

void X11WindowSystem::setParent(WindowId child, WindowId parent)
{
    X11Windows::setParent(child, parent);
}
