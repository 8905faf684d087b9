#pragma once

#include "window_system.h"

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
};
