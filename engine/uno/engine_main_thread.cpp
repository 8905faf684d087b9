#include "engine/uno/engine_main_thread.h"

#include "shell/failure.h"

#include <chrono>
#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <cppuhelper/implbase1.hxx>
#include <future>
#include <rtl/ref.hxx>

using namespace css;
using namespace css::uno;

namespace {

// Called by the engine's main loop; the engine's thread waits for the
// answer, and the calls the work makes meanwhile run on it.
class MainLoopCall : public cppu::WeakImplHelper1<awt::XCallback> {
public:
    explicit MainLoopCall(std::function<void()> work) : mWork(std::move(work)) {}

    std::future<void> done() { return mDone.get_future(); }

    void SAL_CALL notify(const Any&) override
    {
        try {
            mWork();
            mDone.set_value();
        } catch (...) {
            mDone.set_exception(std::current_exception());
        }
    }

private:
    std::function<void()> mWork;
    std::promise<void> mDone;
};

}  // namespace

void onEngineMainThread(const Reference<XComponentContext>& context, const std::function<void()>& work, int deadlineMs)
{
    const rtl::Reference<MainLoopCall> call(new MainLoopCall(work));
    std::future<void> done = call->done();
    awt::AsyncCallback::create(context)->addCallback(Reference<awt::XCallback>(call.get()), Any());
    // An engine that ended meanwhile never comes to the call: a call of
    // ours on the connection between waits fails at once then.
    const std::chrono::milliseconds slice(200);
    for (std::chrono::milliseconds waited(0); done.wait_for(slice) != std::future_status::ready; waited += slice) {
        context->getServiceManager();
        if (waited >= std::chrono::milliseconds(deadlineMs))
            throw Failure(QStringLiteral("The presentation engine did not come to the call within %1 seconds.")
                              .arg(deadlineMs / 1000));
    }
    done.get();
}
