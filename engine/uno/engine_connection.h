#pragma once

#include <QString>
#include <QStringList>

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <optional>

namespace css = com::sun::star;

// The UNO connection to the engine on a pipe: its desktop, which holds the
// open documents.
class EngineConnection {
public:
    // The engine answering on the pipe, or nothing when none does.
    static std::optional<EngineConnection> open(const QString& pipeName);

    css::uno::Reference<css::frame::XDesktop2> desktop() const { return mDesktop; }
    css::uno::Reference<css::uno::XComponentContext> context() const { return mContext; }

    int presentationCount() const;
    // Closes every open document without saving it; whatever cannot be
    // closed goes with the process.
    void closeAllDocumentsUnsaved() const;
    // Asks the engine to end. A stuck engine might never answer, so the call
    // is made on a thread of its own and not waited for.
    void terminate() const;

private:
    css::uno::Reference<css::uno::XComponentContext> mContext;
    css::uno::Reference<css::frame::XDesktop2> mDesktop;
};
