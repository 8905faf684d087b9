#include "engine/uno/uno_show_window.h"

#include "engine/uno/engine_call.h"

#include <QElapsedTimer>
#include <QThread>

#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/presentation/XSlideShowController.hpp>

using namespace css;
using uno::Any;
using uno::Reference;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

namespace {

// How long the engine may take to put a full-screen show up.
constexpr int kFullScreenStartMs = 10000;

// Points to pixels at 96 dots per inch.
int pixels(float points)
{
    return qRound(points * 96.0f / 72.0f);
}

}  // namespace

UnoShowWindow::UnoShowWindow(const ParkedFrame& parked, uno::Reference<frame::XFrame> frame,
                             uno::Reference<presentation::XPresentation2> show,
                             uno::Reference<frame::XFramesSupplier> desktop)
    : mWindows(parked.windows),
      mParking(parked.parking),
      mFrame(std::move(frame)),
      mShow(std::move(show)),
      mDesktop(std::move(desktop))
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

void UnoShowWindow::presentWithConsole(const QRect& area)
{
    engineCall(QStringLiteral("Presenting the slide show full screen"), [&] {
        const Reference<presentation::XSlideShowController> controller = mShow->getController();
        if (!controller.is())
            throw Failure(QStringLiteral("The slide show is not running."));
        // The display is a setting of the engine, not of the deck: the deck
        // saved afterwards is the same.
        Reference<beans::XPropertySet>(mShow, UNO_QUERY_THROW)->setPropertyValue("Display", Any(displayAt(area)));
        const Reference<drawing::XDrawPage> shown = controller->getCurrentSlide();
        startShow(shown, true);
        // The engine puts the show up after the call returns; until then it
        // does not count as running.
        QElapsedTimer waited;
        waited.start();
        while (!mShow->isRunning()) {
            if (waited.elapsed() > kFullScreenStartMs) {
                startShow(shown, false);
                throw Failure(QStringLiteral("The full-screen slide show did not start within %1 seconds; the "
                                             "show goes on here.")
                                  .arg(kFullScreenStartMs / 1000));
            }
            QThread::msleep(20);
        }
        mSlideReached = new SlideReached(mShow->getController());
        mShow->getController()->addSlideShowListener(Reference<presentation::XSlideShowListener>(mSlideReached.get()));
        placeFullScreenShow(area);
    });
}

// The full-screen show is a window of the engine's own, which a window
// manager keeps on the screen the engine asked for; without one, it lands on
// the first screen. It is put over the area where it is not.
void UnoShowWindow::placeFullScreenShow(const QRect& area)
{
    const Reference<frame::XModel> deck = mFrame->getController()->getModel();
    const Reference<frame::XFrames> frames = mDesktop->getFrames();
    for (sal_Int32 i = 0; i < frames->getCount(); ++i) {
        const Reference<frame::XFrame> each(frames->getByIndex(i), UNO_QUERY);
        if (!each.is() || each == mFrame || !each->getController().is() || each->getController()->getModel() != deck)
            continue;
        const Reference<awt::XWindow> window = each->getContainerWindow();
        const awt::Rectangle at = window->getPosSize();
        if (QRect(at.X, at.Y, at.Width, at.Height) != area)
            window->setPosSize(area.x(), area.y(), area.width(), area.height(), awt::PosSize::POSSIZE);
    }
}

bool UnoShowWindow::consoleShowRunning()
{
    return engineCall(QStringLiteral("Asking whether the full-screen slide show runs"),
                      [&] { return static_cast<bool>(mShow->isRunning()); });
}

void UnoShowWindow::resumeHere()
{
    // Nothing was presented with the console.
    if (!mSlideReached.is())
        return;
    engineCall(QStringLiteral("Bringing the slide show back"), [&] {
        const Reference<drawing::XDrawPage> reached = mSlideReached->slide();
        mSlideReached.clear();
        if (mShow->isRunning())
            mShow->end();
        startShow(reached, false);
    });
}

int UnoShowWindow::shownSlide()
{
    return engineCall(QStringLiteral("Reading the slide the show is at"), [&] {
        const Reference<presentation::XSlideShowController> controller = mShow->getController();
        return controller.is() && controller->isRunning() ? controller->getCurrentSlideIndex() + 1 : 0;
    });
}

void UnoShowWindow::startShow(const Reference<drawing::XDrawPage>& from, bool fullScreen)
{
    // Given as arguments, these settings hold for this show alone.
    uno::Sequence<beans::PropertyValue> arguments(2);
    arguments.getArray()[0] = unoProperty("IsFullScreen", Any(fullScreen));
    arguments.getArray()[1] =
        unoProperty("FirstPage", Any(Reference<container::XNamed>(from, UNO_QUERY_THROW)->getName()));
    mShow->startWithArguments(arguments);
}

sal_Int32 UnoShowWindow::displayAt(const QRect& area) const
{
    const qsizetype index = mWindows ? mWindows->screenAreas().indexOf(area) : -1;
    if (index < 0)
        throw Failure(QStringLiteral("The screen to present on (%1 x %2 pixels at %3, %4) is not one the display has.")
                          .arg(area.width())
                          .arg(area.height())
                          .arg(area.x())
                          .arg(area.y()));
    return static_cast<sal_Int32>(index + 1);
}
