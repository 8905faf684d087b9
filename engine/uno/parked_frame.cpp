#include "engine/uno/parked_frame.h"

#include "engine/uno/engine_instance.h"

#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XSystemChildFactory.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/Frame.hpp>
#include <com/sun/star/frame/XController2.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>
#include <com/sun/star/ui/XSidebarProvider.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using namespace css;
using namespace css::uno;

void unpark(ParkedFrame& parked)
{
    try {
        if (parked.frame.is())
            Reference<util::XCloseable>(parked.frame, UNO_QUERY_THROW)->close(true);
    } catch (const uno::Exception&) {
        // A frame the engine cannot close goes with the engine.
    }
    if (parked.windows)
        parked.windows->destroyWindow(parked.parking);
    parked = {};
}

ParkedFrame parkFrame(EngineInstance& instance, WindowSystem& windows)
{
    constexpr int kWidth = 800, kHeight = 600;
    ParkedFrame parked;
    parked.windows = &windows;
    parked.parking = windows.createParkingWindow(parkedShowWindowClass, kWidth, kHeight);
    try {
        const Reference<awt::XSystemChildFactory> factory(awt::Toolkit::create(instance.connection().context()),
                                                          UNO_QUERY_THROW);
        const Sequence<sal_Int8> processId(16);
        const Reference<awt::XWindowPeer> peer = factory->createSystemChild(
            Any(static_cast<sal_Int64>(parked.parking)), processId, lang::SystemDependent::SYSTEM_XWINDOW);
        parked.window.set(peer, UNO_QUERY_THROW);
        parked.window->setPosSize(0, 0, kWidth, kHeight, awt::PosSize::POSSIZE);
        parked.window->setVisible(true);
        parked.frame = frame::Frame::create(instance.connection().context());
        parked.frame->initialize(parked.window);
        instance.connection().desktop()->getFrames()->append(Reference<frame::XFrame>(parked.frame, UNO_QUERY_THROW));
    } catch (...) {
        unpark(parked);
        throw;
    }
    return parked;
}

void hideSidebar(const Reference<frame::XModel>& document)
{
    const Reference<frame::XController2> controller(document->getCurrentController(), UNO_QUERY);
    if (controller.is())
        if (const auto sidebar = controller->getSidebar(); sidebar.is())
            sidebar->setVisible(false);
}

void hideEngineUi(const ParkedFrame& parked, const Reference<frame::XModel>& document)
{
    const Reference<frame::XLayoutManager> layout(
        Reference<beans::XPropertySet>(parked.frame, UNO_QUERY_THROW)->getPropertyValue("LayoutManager"), UNO_QUERY);
    if (layout.is()) {
        layout->setVisible(false);
    }
    hideSidebar(document);
}
