#include "uno_show_window.h"

#include "engine_call.h"

#include <com/sun/star/awt/PosSize.hpp>

using namespace css;

namespace {

// Points to pixels at 96 dots per inch.
int pixels(float points)
{
    return qRound(points * 96.0f / 72.0f);
}

}  // namespace

UnoShowWindow::UnoShowWindow(const ParkedFrame& parked, uno::Reference<frame::XFrame> frame,
                             uno::Reference<presentation::XPresentation2> show)
    : mWindows(parked.windows), mParking(parked.parking), mFrame(std::move(frame)), mShow(std::move(show))
{
    const awt::Rectangle size = mFrame->getContainerWindow()->getPosSize();
    mWidth = size.Width;
    mHeight = size.Height;
}

void UnoShowWindow::setWidth(float points)
{
    mWidth = pixels(points);
    resize();
}

void UnoShowWindow::setHeight(float points)
{
    mHeight = pixels(points);
    resize();
}

void UnoShowWindow::resize()
{
    engineCall(QStringLiteral("Sizing the slide show window"), [&] {
        if (mParking)
            mWindows->resizeWindow(mParking, mWidth, mHeight);
        else
            mFrame->getContainerWindow()->setPosSize(0, 0, mWidth, mHeight, awt::PosSize::SIZE);
    });
}
