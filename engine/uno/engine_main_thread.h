#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>
#include <functional>

// Runs the work as a call from the engine's main loop, when the loop comes
// to it: the engine's calls made meanwhile run on its main thread, one
// after another with its own work, not beside it on a thread of their own.
// Some of the engine's windows note a change to redraw later in a way that
// only holds on that thread. Rethrows what the work throws; throws the
// connection's DisposedException when the engine ends before it comes to
// the work, Failure when it did not come to it within the deadline.
void onEngineMainThread(const css::uno::Reference<css::uno::XComponentContext>& context,
                        const std::function<void()>& work, int deadlineMs);
