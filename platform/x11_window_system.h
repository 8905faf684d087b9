#pragma once

#include "platform/window_system.h"

#include <QHash>

#include <memory>

class QSocketNotifier;

// The X11 display named by $DISPLAY, on a connection of our own. Errors of
// the X server never end the program.
class X11WindowSystem : public WindowSystem {
public:
    WindowId findWindow(const QString& className) override;
    void setParent(WindowId child, WindowId parent) override;
    WindowId createParkingWindow(const QString& className, int width, int height) override;
    void resizeWindow(WindowId window, int width, int height) override;
    void destroyWindow(WindowId window) override;
    void showOver(WindowId window, const QRect& area) override;
    void giveKeyboard(WindowId window) override;
    WindowId keyWindowOf(WindowId window) override;
    void watchKeys(WindowId window, const QList<int>& keys, std::function<void(int key)> onKey) override;
    QList<QRect> screenAreas() override;

    X11WindowSystem();
    ~X11WindowSystem() override;

private:
    struct WatchedKeys {
        QList<int> keys;
        std::function<void(int key)> onKey;
    };

    // Waits until the display has carried out the calls so far; key presses
    // that came in meanwhile are handed on from the event loop.
    void sync();
    void handOnKeyPresses();

    QHash<WindowId, WatchedKeys> mWatched;
    std::unique_ptr<QSocketNotifier> mKeyPresses;
};
