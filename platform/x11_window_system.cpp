#include "platform/x11_window_system.h"

#include "shell/failure.h"

#include <QSocketNotifier>
#include <QTimer>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xinerama.h>
#include <X11/keysym.h>

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
        throw Failure(
            QStringLiteral("No X11 display could be reached: the slide show needs an X11 "
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

// The children of a window, bottom-most first.
QList<Window> childrenOf(Display* connection, Window window)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    QList<Window> found;
    if (XQueryTree(connection, window, &root, &parent, &children, &count))
        found = QList<Window>(children, children + count);
    if (children)
        XFree(children);
    return found;
}

// The keys the viewer watches, by Qt's name and the display's.
constexpr std::pair<int, KeySym> kWatchableKeys[] = {
    {Qt::Key_F5, XK_F5}, {Qt::Key_Escape, XK_Escape}, {Qt::Key_Tab, XK_Tab}};

KeySym keySymOf(int qtKey)
{
    for (const auto& [key, symbol] : kWatchableKeys)
        if (key == qtKey)
            return symbol;
    return 0;
}

int qtKeyOf(KeySym symbol)
{
    for (const auto& [key, watched] : kWatchableKeys)
        if (watched == symbol)
            return key;
    return 0;
}

// Screens that start at the same corner (a mirrored one) count as one, of
// the larger size.
void addScreen(QList<QRect>& areas, const QRect& screen)
{
    for (QRect& area : areas)
        if (area.topLeft() == screen.topLeft()) {
            area.setSize(area.size().expandedTo(screen.size()));
            return;
        }
    areas << screen;
}

}  // namespace

X11WindowSystem::X11WindowSystem() = default;

X11WindowSystem::~X11WindowSystem() = default;

void X11WindowSystem::sync()
{
    XSync(display(), False);
    // Events read while waiting stay in the connection's queue, where the
    // socket's notifier does not see them.
    if (mKeyPresses && XQLength(display()) > 0)
        QTimer::singleShot(0, mKeyPresses.get(), [this] { handOnKeyPresses(); });
}

void X11WindowSystem::handOnKeyPresses()
{
    Display* connection = display();
    while (XPending(connection) > 0) {
        XEvent event{};
        XNextEvent(connection, &event);
        if (event.type != KeyPress)
            continue;
        const auto watched = mWatched.constFind(event.xkey.window);
        const int key = qtKeyOf(XLookupKeysym(&event.xkey, 0));
        const bool shifted = event.xkey.state & ShiftMask;
        if (watched != mWatched.constEnd() && watched->keys.contains(key))
            watched->onKey(key == Qt::Key_Tab && shifted ? int(Qt::Key_Backtab) : key);
    }
}

WindowSystem::WindowId X11WindowSystem::findWindow(const QString& className)
{
    Display* connection = requireDisplay();
    const QList<Window> children = childrenOf(connection, DefaultRootWindow(connection));
    const QByteArray wanted = className.toLatin1();
    // The first of the class in stacking order from the top is the one most
    // recently shown.
    for (auto child = children.crbegin(); child != children.crend(); ++child)
        if (hasClass(connection, *child, wanted))
            return *child;
    return 0;
}

void X11WindowSystem::setParent(WindowId child, WindowId parent)
{
    if (!child || !parent)
        return;
    Display* connection = requireDisplay();
    XReparentWindow(connection, child, parent, 0, 0);
    sync();
}

WindowSystem::WindowId X11WindowSystem::createParkingWindow(const QString& className, int width, int height)
{
    Display* connection = requireDisplay();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(connection, DefaultScreen(connection));
    const Window window = XCreateWindow(connection, DefaultRootWindow(connection), -20000, -20000,
                                        static_cast<unsigned>(width), static_cast<unsigned>(height), 0, CopyFromParent,
                                        InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    QByteArray name = className.toLatin1();
    XClassHint hint{name.data(), name.data()};
    XSetClassHint(connection, window, &hint);
    XMapWindow(connection, window);
    sync();
    return window;
}

void X11WindowSystem::resizeWindow(WindowId window, int width, int height)
{
    Display* connection = requireDisplay();
    XResizeWindow(connection, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // The windows another program made inside it fill it too.
    for (const Window child : childrenOf(connection, window))
        XMoveResizeWindow(connection, child, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    sync();
}

void X11WindowSystem::destroyWindow(WindowId window)
{
    if (!window || !display())
        return;
    XDestroyWindow(display(), window);
    mWatched.remove(window);
    sync();
}

void X11WindowSystem::showOver(WindowId window, const QRect& area)
{
    if (!window)
        return;
    Display* connection = requireDisplay();
    XReparentWindow(connection, window, DefaultRootWindow(connection), area.x(), area.y());
    XMoveResizeWindow(connection, window, area.x(), area.y(), static_cast<unsigned>(area.width()),
                      static_cast<unsigned>(area.height()));
    XRaiseWindow(connection, window);
    giveKeyboard(keyWindowOf(window));
}

void X11WindowSystem::giveKeyboard(WindowId window)
{
    if (!window)
        return;
    XSetInputFocus(requireDisplay(), window, RevertToPointerRoot, CurrentTime);
    sync();
}

WindowSystem::WindowId X11WindowSystem::keyWindowOf(WindowId window)
{
    const QList<Window> children = childrenOf(requireDisplay(), window);
    return children.isEmpty() ? window : children.last();
}

void X11WindowSystem::watchKeys(WindowId window, const QList<int>& keys, std::function<void(int key)> onKey)
{
    Display* connection = requireDisplay();
    if (!mKeyPresses) {
        mKeyPresses = std::make_unique<QSocketNotifier>(ConnectionNumber(connection), QSocketNotifier::Read);
        QObject::connect(mKeyPresses.get(), &QSocketNotifier::activated, [this] { handOnKeyPresses(); });
    }
    XUngrabKey(connection, AnyKey, AnyModifier, window);
    for (const int key : keys)
        if (const KeySym symbol = keySymOf(key))
            XGrabKey(connection, XKeysymToKeycode(connection, symbol), AnyModifier, window, False, GrabModeAsync,
                     GrabModeAsync);
    if (keys.isEmpty())
        mWatched.remove(window);
    else
        mWatched.insert(window, WatchedKeys{keys, std::move(onKey)});
    sync();
}

QList<QRect> X11WindowSystem::screenAreas()
{
    Display* connection = requireDisplay();
    QList<QRect> areas;
    int count = 0;
    if (XineramaIsActive(connection)) {
        if (XineramaScreenInfo* screens = XineramaQueryScreens(connection, &count)) {
            for (int i = 0; i < count; ++i)
                addScreen(areas, QRect(screens[i].x_org, screens[i].y_org, screens[i].width, screens[i].height));
            XFree(screens);
        }
    }
    if (areas.isEmpty())
        areas << QRect(0, 0, DisplayWidth(connection, DefaultScreen(connection)),
                       DisplayHeight(connection, DefaultScreen(connection)));
    return areas;
}
