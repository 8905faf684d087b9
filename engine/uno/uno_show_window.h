#pragma once

#include "engine/port/presentation_engine.h"
#include "engine/uno/parked_frame.h"
#include "engine/uno/slide_reached.h"

#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XFramesSupplier.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>

// The window a show runs in: the parking window of a presentation opened
// without a window, else the presentation's own frame. For a presenter with
// a second screen, the show leaves it for the engine's own full-screen show
// with its presenter console, and comes back.
class UnoShowWindow : public SlideShowWindow {
public:
    UnoShowWindow(const ParkedFrame& parked, css::uno::Reference<css::frame::XFrame> frame,
                  css::uno::Reference<css::presentation::XPresentation2> show,
                  css::uno::Reference<css::frame::XFramesSupplier> desktop);

    void setWidth(float points) override;
    void setHeight(float points) override;
    QString windowClass() const override { return parkedShowWindowClass; }
    void presentWithConsole(const QRect& area) override;
    bool consoleShowRunning() override;
    void resumeHere() override;
    int shownSlide() override;

private:
    void resize();
    // The engine's number for the display at area: its displays count from
    // 1 in the window system's order.
    sal_Int32 displayAt(const QRect& area) const;
    // Puts the engine's full-screen show over the area.
    void placeFullScreenShow(const QRect& area);
    // Starts the show from the slide, full screen or in this window.
    void startShow(const css::uno::Reference<css::drawing::XDrawPage>& from, bool fullScreen);

    WindowSystem* mWindows;
    WindowSystem::WindowId mParking;
    css::uno::Reference<css::frame::XFrame> mFrame;
    css::uno::Reference<css::presentation::XPresentation2> mShow;
    css::uno::Reference<css::frame::XFramesSupplier> mDesktop;
    // While the show is presented with the console.
    rtl::Reference<SlideReached> mSlideReached;
    int mWidth = 0;
    int mHeight = 0;
};
