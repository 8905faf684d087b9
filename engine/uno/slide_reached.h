#pragma once

#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/presentation/XSlideShowController.hpp>
#include <com/sun/star/presentation/XSlideShowListener.hpp>
#include <cppuhelper/implbase1.hxx>
#include <mutex>
#include <rtl/ref.hxx>

// The slide a running show is at, told by the show each time it moves on.
// Its controller goes away with the show, and so would the slide it reached,
// which the show in the viewer's frame goes on from.
class SlideReached : public cppu::WeakImplHelper1<css::presentation::XSlideShowListener> {
public:
    explicit SlideReached(css::uno::Reference<css::presentation::XSlideShowController> controller)
        : mController(std::move(controller)), mSlide(mController->getCurrentSlide())
    {
    }

    css::uno::Reference<css::drawing::XDrawPage> slide() const
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        return mSlide;
    }

    void SAL_CALL slideTransitionStarted() override { note(); }
    void SAL_CALL slideAnimationsEnded() override { note(); }
    void SAL_CALL disposing(const css::lang::EventObject&) override
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        mController.clear();
    }

    void SAL_CALL paused() override {}
    void SAL_CALL resumed() override {}
    void SAL_CALL slideTransitionEnded() override {}
    void SAL_CALL slideEnded(sal_Bool) override {}
    void SAL_CALL hyperLinkClicked(const rtl::OUString&) override {}
    void SAL_CALL beginEvent(const css::uno::Reference<css::animations::XAnimationNode>&) override {}
    void SAL_CALL endEvent(const css::uno::Reference<css::animations::XAnimationNode>&) override {}
    void SAL_CALL repeat(const css::uno::Reference<css::animations::XAnimationNode>&, sal_Int32) override {}

private:
    void note()
    {
        const std::lock_guard<std::mutex> lock(mMutex);
        if (mController.is())
            if (const auto now = mController->getCurrentSlide(); now.is())
                mSlide = now;
    }

    mutable std::mutex mMutex;
    css::uno::Reference<css::presentation::XSlideShowController> mController;
    css::uno::Reference<css::drawing::XDrawPage> mSlide;
};
