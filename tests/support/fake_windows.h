#pragma once

#include "platform/window_system.h"

#include <QList>
#include <QRect>
#include <QString>

// A window system that keeps, instead of making, what is asked of the show's
// window: where it sits, what it is shown over, who has the keyboard.
class FakeWindowSystem : public WindowSystem {
public:
    WindowId found = 0x4200001;  // the show's window; 0: none is found
    QStringList lookedFor;       // the window classes asked for
    WindowId parent = 0;         // the window the show's window sits in, or 0
    QRect over;                  // the area it is shown over, or none while it sits in a window
    WindowId keyboard = 0;       // the window given the keyboard last
    QList<int> watchedKeys;
    int changes = 0;  // calls that changed a window, to see that none was made

    WindowId findWindow(const QString& className) override
    {
        lookedFor << className;
        return found;
    }
    void setParent(WindowId, WindowId newParent) override
    {
        ++changes;
        parent = newParent;
        over = QRect();
    }
    WindowId createParkingWindow(const QString&, int, int) override
    {
        ++changes;
        return found;
    }
    void resizeWindow(WindowId, int, int) override { ++changes; }
    void destroyWindow(WindowId) override { ++changes; }
    void showOver(WindowId, const QRect& area) override
    {
        ++changes;
        parent = 0;
        over = area;
    }
    void giveKeyboard(WindowId window) override
    {
        ++changes;
        keyboard = window;
    }
    WindowId keyWindowOf(WindowId window) override { return window; }
    void watchKeys(WindowId, const QList<int>& keys, std::function<void(int key)> onKey) override
    {
        watchedKeys = keys;
        pressKey = std::move(onKey);
    }
    // The viewer takes its screens from Qt; only the engine asks here.
    QList<QRect> screenAreas() override { return {}; }
    // Presses a watched key in the watched window.
    std::function<void(int key)> pressKey;
};
