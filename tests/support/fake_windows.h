#pragma once

#include "platform/window_system.h"

#include <QStringList>

// Window calls recorded instead of made.
class FakeWindowSystem : public WindowSystem {
public:
    WindowId found = 0x4200001;
    QStringList calls;

    WindowId findWindow(const QString& className) override
    {
        calls << "findWindow " + className;
        return found;
    }
    void setParent(WindowId child, WindowId parent) override
    {
        calls << QStringLiteral("setParent %1 %2").arg(child).arg(parent != 0);
    }
    WindowId createParkingWindow(const QString& className, int, int) override
    {
        calls << "createParkingWindow " + className;
        return found;
    }
    void resizeWindow(WindowId window, int width, int height) override
    {
        calls << QStringLiteral("resizeWindow %1 %2x%3").arg(window).arg(width).arg(height);
    }
    void destroyWindow(WindowId window) override { calls << QStringLiteral("destroyWindow %1").arg(window); }
    void showOver(WindowId window, const QRect& area) override
    {
        calls << QStringLiteral("showOver %1 %2x%3").arg(window).arg(area.width()).arg(area.height());
    }
    void giveKeyboard(WindowId window) override { calls << QStringLiteral("giveKeyboard %1").arg(window); }
    WindowId keyWindowOf(WindowId window) override { return window; }
    void watchKeys(WindowId window, const QList<int>& keys, std::function<void(int key)> onKey) override
    {
        calls << QStringLiteral("watchKeys %1 %2").arg(window).arg(keys.size());
        pressKey = std::move(onKey);
    }
    // The viewer takes its screens from Qt; only the engine asks here.
    QList<QRect> screenAreas() override { return {}; }
    // Presses a watched key in the watched window.
    std::function<void(int key)> pressKey;
};
