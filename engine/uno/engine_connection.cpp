#include "engine/uno/engine_connection.h"

#include "engine/uno/call_watchdog.h"
#include "engine/uno/engine_call.h"
#include "engine/uno/uno_values.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <csignal>
#include <cstdlib>
#include <thread>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// The local UNO environment finds the installation's bootstrap file through
// the environment. It is named there as the program is loaded, before any
// thread starts: the first connection may be made on a spare's thread, while
// other threads read the environment.
[[maybe_unused]] const bool kBootstrapNamed = [] {
    return ::setenv("URE_BOOTSTRAP", "vnd.sun.star.pathname:" LIBREOFFICE_PROGRAM_DIR "/fundamentalrc", 1) == 0;
}();

// The local UNO environment that bridges to the engine, made once.
Reference<uno::XComponentContext> localContext()
{
    static Reference<uno::XComponentContext> context = [] {
        // The bridge writes to the engine's pipe without guarding against
        // SIGPIPE: an engine that ended (crashed, or killed as stuck) must
        // fail the call in progress, not end this program.
        std::signal(SIGPIPE, SIG_IGN);
        return cppu::defaultBootstrap_InitialComponentContext();
    }();
    return context;
}

}  // namespace

std::optional<EngineConnection> EngineConnection::open(const QString& pipeName)
{
    try {
        EngineConnection connection;
        const auto resolver = bridge::UnoUrlResolver::create(localContext());
        const QString url = QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipeName);
        connection.mContext.set(resolver->resolve(toUno(url)), UNO_QUERY);
        if (!connection.mContext.is())
            return std::nullopt;
        connection.mDesktop = frame::Desktop::create(connection.mContext);
        return connection;
    } catch (const uno::Exception&) {
        return std::nullopt;
    }
}

int EngineConnection::presentationCount() const
{
    return engineCall(QStringLiteral("Counting the open presentations"), [&] {
        const auto documents = mDesktop->getComponents()->createEnumeration();
        int count = 0;
        while (documents->hasMoreElements())
            if (const Reference<presentation::XPresentationSupplier> deck{documents->nextElement(), UNO_QUERY};
                deck.is())
                ++count;
        return count;
    });
}

void EngineConnection::closeAllDocumentsUnsaved() const
{
    const CallWatchdog::Guard deadline;
    try {
        const auto documents = mDesktop->getComponents()->createEnumeration();
        while (documents->hasMoreElements()) {
            const Any element = documents->nextElement();
            if (const Reference<util::XModifiable> modified{element, UNO_QUERY}; modified.is())
                modified->setModified(false);
            if (const Reference<util::XCloseable> closeable{element, UNO_QUERY}; closeable.is())
                closeable->close(true);
        }
    } catch (const uno::Exception&) {
        // Whatever is left goes with the process.
    }
}

void EngineConnection::terminate() const
{
    std::thread([desktop = mDesktop] {
        try {
            desktop->terminate();
        } catch (const uno::Exception&) {
            // The connection drops while the engine shuts down.
        }
    }).detach();
}
