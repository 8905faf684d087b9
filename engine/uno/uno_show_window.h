#pragma once

#include "parked_frame.h"
#include "presentation_engine.h"

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>

// The window a show runs in: the parking window of a presentation opened
// without a window, else the presentation's own frame.
class UnoShowWindow : public SlideShowWindow {
public:
    UnoShowWindow(const ParkedFrame& parked, css::uno::Reference<css::frame::XFrame> frame,
                  css::uno::Reference<css::presentation::XPresentation2> show);

    void setWidth(float points) override;
    void setHeight(float points) override;
    QString windowClass() const override { return parkedShowWindowClass; }

private:
    void resize();

    WindowSystem* mWindows;
    WindowSystem::WindowId mParking;
    css::uno::Reference<css::frame::XFrame> mFrame;
    css::uno::Reference<css::presentation::XPresentation2> mShow;
    int mWidth = 0;
    int mHeight = 0;
};
