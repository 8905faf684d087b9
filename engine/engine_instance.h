#pragma once

#include "call_watchdog.h"
#include "failure.h"
#include "uno_engine.h"

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <QString>
#include <memory>

namespace css = com::sun::star;

// One running engine process and the connection to it, shared by every
// application object of this program that reaches it. It also keeps the
// active window's selection: a shape and a range of its text.
class EngineInstance {
public:
    // The instance on the settings' pipe: connects when one answers, starts
    // one first when none does and startIfNone is set; throws Failure.
    static std::shared_ptr<EngineInstance> reach(const EngineSettings& settings, bool startIfNone);

    ~EngineInstance();

    // Ends every engine that this program started, as the program ends.
    static void endAllStartedHere();
    // Ends an engine that a program which has ended left running on the
    // settings' profile, and removes its temporary decks and folder.
    static void endLeftBehind(const EngineSettings& settings);

    css::uno::Reference<css::frame::XDesktop2> desktop() const { return mDesktop; }
    css::uno::Reference<css::uno::XComponentContext> context() const { return mContext; }
    qint64 pid() const { return mPid; }

    bool visible = false;

    // The active window's selection.
    css::uno::Reference<css::frame::XModel> selectedDocument;
    css::uno::Reference<css::drawing::XShape> selectedShape;
    bool textSelected = false;
    int selectionStart = 0;   // in the layer's text, 0-based
    int selectionLength = 0;

    int presentationCount();
    // Ends the process: the engine is told to terminate, then the process is
    // waited for; one that does not end is killed.
    void quit();
    bool quitRequested() const { return mQuitRequested; }

private:
    EngineInstance() = default;
    bool connect(const QString& pipeName);
    void start(const EngineSettings& settings);
    void waitForExit(int timeoutMs);
    void closeAllDocumentsUnsaved();
    // The files of the documents open in the engine on the pipe.
    static QStringList openDocumentFiles(const QString& pipeName);

    css::uno::Reference<css::uno::XComponentContext> mContext;
    css::uno::Reference<css::frame::XDesktop2> mDesktop;
    qint64 mPid = 0;
    bool mStartedHere = false;
    bool mQuitRequested = false;
    QString mPidFile;
    QString mTempFolder;
};

QString fromUno(const rtl::OUString& text);
rtl::OUString toUno(const QString& text);

// Why the engine went away during a call: the watchdog ended it, or it ended
// by itself.
QString engineGoneReason();

// Runs a call into the engine; UNO exceptions become Failure with the
// engine's description, a lost connection says so.
template <typename Call>
auto engineCall(const QString& what, Call&& call) -> decltype(call())
{
    const CallWatchdog::Guard deadline;
    try {
        return call();
    } catch (const css::lang::DisposedException&) {
        throw Failure(QStringLiteral("%1 failed: %2").arg(what, engineGoneReason()));
    } catch (const css::uno::Exception& error) {
        if (CallWatchdog::killedAStuckEngine())
            throw Failure(QStringLiteral("%1 failed: %2").arg(what, engineGoneReason()));
        const QString detail = fromUno(error.Message).section(QStringLiteral(" at ./"), 0, 0);
        throw Failure(QStringLiteral("%1 failed: %2").arg(what, detail.isEmpty()
                                                                   ? QStringLiteral("the presentation engine gave no reason.")
                                                                   : detail));
    }
}
