#pragma once

#include "platform/window_system.h"

#include <QString>

#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/frame/XFrame2.hpp>
#include <com/sun/star/frame/XModel.hpp>

namespace css = com::sun::star;

class EngineInstance;

// The class of our parking windows: a show runs in one until the viewer
// gives it a parent, and is found by it.
inline const QString parkedShowWindowClass = QStringLiteral("screenClass");

// A presentation opened "without a window" lives in an engine frame that is a
// child of a parking window of ours: an X11 top-level window of the show
// window class, kept off the screen until the viewer gives it a parent. The
// engine's own menus, toolbars and panes are hidden in that frame.
struct ParkedFrame {
    WindowSystem* windows = nullptr;
    WindowSystem::WindowId parking = 0;
    css::uno::Reference<css::awt::XWindow> window;
    css::uno::Reference<css::frame::XFrame2> frame;
};

ParkedFrame parkFrame(EngineInstance& instance, WindowSystem& windows);

// Takes a parked frame down: the engine's frame, then our parking window.
void unpark(ParkedFrame& parked);

// Hides the sidebar of a document's window.
void hideSidebar(const css::uno::Reference<css::frame::XModel>& document);

// Hides the engine's menus, toolbars, status bar and sidebar in a frame.
void hideEngineUi(const ParkedFrame& parked, const css::uno::Reference<css::frame::XModel>& document);
