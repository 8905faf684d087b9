#include "x11_window_system.h"

#include "failure.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

int ignoreErrors(Display*, XErrorEvent*)
{
    // A window that went away between finding and using it is not an error
    // the user can act on; the operation just does nothing.
    return 0;
}

Display* display()
{
    static Display* connection = [] {
        Display* opened = XOpenDisplay(nullptr);
        if (opened)
            XSetErrorHandler(ignoreErrors);
        return opened;
    }();
    return connection;
}

Display* requireDisplay()
{
    Display* connection = display();
    if (!connection)
        throw Failure(QStringLiteral("No X11 display could be reached: the slide show needs an X11 "
                                     "session (Xorg or XWayland)."));
    return connection;
}

bool hasClass(Display* connection, Window window, const QByteArray& className)
{
    XClassHint hint{};
    if (!XGetClassHint(connection, window, &hint))
        return false;
    const bool matches = (hint.res_class && className == hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return matches;
}

}  // namespace

WindowSystem::WindowId X11WindowSystem::findWindow(const QString& className)
{
    Display* connection = requireDisplay();
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count))
        return 0;
    const QByteArray wanted = className.toLatin1();
    WindowId found = 0;
    // XQueryTree lists the bottom-most window first; the first of the class
    // in stacking order from the top is the one most recently shown.
    for (unsigned int i = count; i-- > 0 && !found;)
        if (hasClass(connection, children[i], wanted))
            found = children[i];
    if (children)
        XFree(children);
    return found;
}

void X11WindowSystem::setParent(WindowId child, WindowId parent)
{
    if (!child || !parent)
        return;
    Display* connection = requireDisplay();
    XReparentWindow(connection, child, parent, 0, 0);
    XSync(connection, False);
}

WindowSystem::WindowId X11WindowSystem::createParkingWindow(const QString& className, int width, int height)
{
    Display* connection = requireDisplay();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(connection, DefaultScreen(connection));
    const Window window = XCreateWindow(connection, DefaultRootWindow(connection), -20000, -20000,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                        CopyFromParent, InputOutput, CopyFromParent,
                                        CWOverrideRedirect | CWBackPixel, &attributes);
    QByteArray name = className.toLatin1();
    XClassHint hint{name.data(), name.data()};
    XSetClassHint(connection, window, &hint);
    XMapWindow(connection, window);
    XSync(connection, False);
    return window;
}

void X11WindowSystem::resizeWindow(WindowId window, int width, int height)
{
    Display* connection = requireDisplay();
    XResizeWindow(connection, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // The windows another program made inside it fill it too.
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(connection, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count; ++i)
            XMoveResizeWindow(connection, children[i], 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height));
        if (children)
            XFree(children);
    }
    XSync(connection, False);
}

void X11WindowSystem::destroyWindow(WindowId window)
{
    if (!window || !display())
        return;
    XDestroyWindow(display(), window);
    XSync(display(), False);
}
