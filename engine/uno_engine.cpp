#include "uno_engine.h"

#include "engine_call.h"
#include "engine_instance.h"
#include "spare_engine.h"
#include "failure.h"
#include "layer_text.h"
#include "shape_names.h"
#include "window_system.h"

#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XSystemChildFactory.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/frame/Frame.hpp>
#include <com/sun/star/frame/XFrames.hpp>
#include <com/sun/star/frame/XLayoutManager.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <com/sun/star/lang/SystemDependent.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/document/XLinkTargetSupplier.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XDrawView.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XController2.hpp>
#include <com/sun/star/ui/XSidebarProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/implbase1.hxx>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <optional>

#include <unistd.h>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

rtl::OUString fileUrl(const QString& path)
{
    return toUno(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString());
}

// The engine's own export filter for each format.
rtl::OUString exportFilter(SaveAsFileType format)
{
    switch (format) {
    case SaveAsFileType::Presentation:
        return "MS PowerPoint 97";
    case SaveAsFileType::OpenXMLPresentation:
        return "Impress MS PowerPoint 2007 XML";
    case SaveAsFileType::OpenDocumentPresentation:
        return "impress8";
    case SaveAsFileType::PDF:
        return "impress_pdf_Export";
    }
    throw Failure(QStringLiteral("The engine has no export filter for this format."));
}

// The two controls of a document's window that the selection steps use.
// A window keeps its controller while its document is open, so they are
// asked for once per document rather than at every step.
struct DocumentView {
    Reference<drawing::XDrawView> pages;
    Reference<view::XSelectionSupplier> selection;

    static DocumentView of(const Reference<frame::XModel>& document)
    {
        const Reference<frame::XController> controller = document->getCurrentController();
        return {Reference<drawing::XDrawView>(controller, UNO_QUERY),
                Reference<view::XSelectionSupplier>(controller, UNO_QUERY)};
    }
};

void showInWindow(const DocumentView& view, const Reference<drawing::XDrawPage>& page, const Any& selection)
{
    if (view.pages.is())
        view.pages->setCurrentPage(page);
    if (view.selection.is())
        view.selection->select(selection);
}

// The names stored on a slide's shapes in drawing order, "" for a shape
// without one. The slide's list of named objects tells in one call whether
// any shape has a name at all; only then is each shape asked for its own.
QStringList storedShapeNames(const Reference<drawing::XDrawPage>& page, sal_Int32 count)
{
    const Reference<container::XNameAccess> named =
        Reference<document::XLinkTargetSupplier>(page, UNO_QUERY_THROW)->getLinks();
    if (named.is() && !named->hasElements())
        return QStringList(count, QString());
    QStringList names;
    for (sal_Int32 i = 0; i < count; ++i)
        names << fromUno(Reference<container::XNamed>(page->getByIndex(i), UNO_QUERY_THROW)->getName());
    return names;
}

// Answers every question the engine would put to a user with "cancel".
class CancelEveryQuestion : public cppu::WeakImplHelper1<task::XInteractionHandler> {
public:
    void SAL_CALL handle(const Reference<task::XInteractionRequest>& request) override
    {
        for (const auto& continuation : request->getContinuations())
            if (const Reference<task::XInteractionAbort> abort{continuation, UNO_QUERY}; abort.is()) {
                abort->select();
                return;
            }
    }
};

// Points to pixels at 96 dots per inch.
int pixels(float points)
{
    return qRound(points * 96.0f / 72.0f);
}

// A presentation opened "without a window" lives in an engine frame that is a
// child of a parking window of ours: an X11 top-level window of the show
// window class, kept off the screen until the viewer gives it a parent. The
// engine's own menus, toolbars and panes are hidden in that frame.
struct ParkedFrame {
    WindowSystem* windows = nullptr;
    WindowSystem::WindowId parking = 0;
    Reference<awt::XWindow> window;
    Reference<frame::XFrame2> frame;
};

// Takes a parked frame down: the engine's frame, then our parking window.
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
    parked.parking = windows.createParkingWindow(slideShowWindowClass, kWidth, kHeight);
    try {
        const Reference<awt::XSystemChildFactory> factory(awt::Toolkit::create(instance.connection().context()), UNO_QUERY_THROW);
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

// Hides the sidebar of a document's window.
void hideSidebar(const Reference<frame::XModel>& document)
{
    const Reference<frame::XController2> controller(document->getCurrentController(), UNO_QUERY);
    if (controller.is())
        if (const auto sidebar = controller->getSidebar(); sidebar.is())
            sidebar->setVisible(false);
}

// Hides the engine's menus, toolbars, status bar and sidebar in a frame.
void hideEngineUi(const ParkedFrame& parked, const Reference<frame::XModel>& document)
{
    const Reference<frame::XLayoutManager> layout(
        Reference<beans::XPropertySet>(parked.frame, UNO_QUERY_THROW)->getPropertyValue("LayoutManager"),
        UNO_QUERY);
    if (layout.is()) {
        layout->setVisible(false);
    }
    hideSidebar(document);
}

class UnoShowWindow : public SlideShowWindow {
public:
    UnoShowWindow(const ParkedFrame& parked, Reference<frame::XFrame> frame,
                  Reference<presentation::XPresentation2> show)
        : mWindows(parked.windows), mParking(parked.parking), mFrame(std::move(frame)), mShow(std::move(show))
    {
        const awt::Rectangle size = mFrame->getContainerWindow()->getPosSize();
        mWidth = size.Width;
        mHeight = size.Height;
    }

    void setWidth(float points) override
    {
        mWidth = pixels(points);
        resize();
    }

    void setHeight(float points) override
    {
        mHeight = pixels(points);
        resize();
    }

private:
    void resize()
    {
        engineCall(QStringLiteral("Sizing the slide show window"), [&] {
            if (mParking)
                mWindows->resizeWindow(mParking, mWidth, mHeight);
            else
                mFrame->getContainerWindow()->setPosSize(0, 0, mWidth, mHeight, awt::PosSize::SIZE);
        });
    }

    WindowSystem* mWindows;
    WindowSystem::WindowId mParking;
    Reference<frame::XFrame> mFrame;
    Reference<presentation::XPresentation2> mShow;
    int mWidth = 0;
    int mHeight = 0;
};

class UnoPresentation : public Presentation {
public:
    UnoPresentation(std::shared_ptr<EngineInstance> instance, Reference<frame::XModel> document,
                    QString path, ParkedFrame parked = {})
        : mInstance(std::move(instance)),
          mDocument(std::move(document)),
          mPath(std::move(path)),
          mParked(std::move(parked))
    {
    }

    ~UnoPresentation() override
    {
        if (mParked.windows)
            mParked.windows->destroyWindow(mParked.parking);
    }

    // Whatever the type, a parked presentation's show runs in its own
    // window, which the viewer takes in; the type changes nothing here.
    void setShowType(int) override {}

    std::shared_ptr<SlideShowWindow> runShow() override
    {
        return engineCall(QStringLiteral("Starting the slide show of %1").arg(shownPath(mPath)), [&] {
            const Reference<presentation::XPresentation2> show(
                Reference<presentation::XPresentationSupplier>(mDocument, UNO_QUERY_THROW)->getPresentation(),
                UNO_QUERY_THROW);
            const Reference<beans::XPropertySet> settings(show, UNO_QUERY_THROW);
            // The show runs in the presentation's own window: inside the
            // viewer for a parked presentation, whatever the show type.
            settings->setPropertyValue("IsFullScreen", Any(false));
            settings->setPropertyValue("IsAlwaysOnTop", Any(false));
            settings->setPropertyValue("IsMouseVisible", Any(true));
            settings->setPropertyValue("StartWithNavigator", Any(false));
            show->start();
            return std::make_shared<UnoShowWindow>(mParked, mDocument->getCurrentController()->getFrame(),
                                                   show);
        });
    }

    void Save() override
    {
        engineCall(QStringLiteral("Saving %1").arg(shownPath(mPath)), [&] {
            Reference<frame::XStorable>(mDocument, UNO_QUERY_THROW)->store();
        });
    }

    void SaveCopyAs(const QString& fileName, SaveAsFileType format) override
    {
        engineCall(QStringLiteral("Saving a copy of %1 as %2").arg(shownPath(mPath), shownPath(fileName)), [&] {
            uno::Sequence<beans::PropertyValue> arguments(2);
            arguments.getArray()[0] = unoProperty("FilterName", Any(exportFilter(format)));
            arguments.getArray()[1] = unoProperty("Overwrite", Any(true));
            Reference<frame::XStorable>(mDocument, UNO_QUERY_THROW)->storeToURL(fileUrl(fileName), arguments);
        });
    }

    void Close() override
    {
        engineCall(QStringLiteral("Closing %1").arg(shownPath(mPath)), [&] {
            mInstance->selection().forget(mDocument);
            // A show still running is ended before its document goes away.
            Reference<presentation::XPresentationSupplier>(mDocument, UNO_QUERY_THROW)->getPresentation()->end();
            // A parked presentation goes with the frame made for it.
            if (mParked.frame.is())
                Reference<util::XCloseable>(mParked.frame, UNO_QUERY_THROW)->close(true);
            else
                Reference<util::XCloseable>(mDocument, UNO_QUERY_THROW)->close(true);
        });
        if (mParked.windows)
            mParked.windows->destroyWindow(mParked.parking);
        mParked.parking = 0;
    }

    void selectSlide(int slide) override
    {
        engineCall(QStringLiteral("Showing slide %1").arg(slide), [&] {
            showInWindow(view(), page(slide), Any());
            mInstance->selection().showDocument(mDocument, view().selection);
        });
    }

    void selectShape(int slide, const QString& name) override
    {
        engineCall(QStringLiteral("Selecting shape \"%1\" on slide %2").arg(name).arg(slide), [&] {
            const Reference<drawing::XDrawPage> drawPage = page(slide);
            const QStringList storedNames = storedShapeNames(drawPage, drawPage->getCount());
            // The shape's type gives the kind of its default name.
            const auto typeAt = [&](int i) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
                return fromUno(Reference<drawing::XShape>(drawPage->getByIndex(i), UNO_QUERY_THROW)->getShapeType());
#pragma GCC diagnostic pop
            };
            const int index = findShape(storedNames, typeAt, name);
            if (index < 0)
                throw Failure(QStringLiteral("Slide %1 has no shape named \"%2\".").arg(slide).arg(name));
            const Reference<drawing::XShape> shape(drawPage->getByIndex(index), UNO_QUERY_THROW);
            showInWindow(view(), drawPage, Any(shape));
            mInstance->selection().selectShape(mDocument, view().selection, shape,
                                               Reference<text::XText>(shape, UNO_QUERY));
        });
    }

private:
    Reference<drawing::XDrawPage> page(int slide)
    {
        // The document's list of slides stays the same object while it is
        // open, and always tells its current slides: asked for once, it
        // saves two calls into the engine per slide looked up.
        if (!mPages.is())
            mPages = Reference<drawing::XDrawPagesSupplier>(mDocument, UNO_QUERY_THROW)->getDrawPages();
        try {
            return Reference<drawing::XDrawPage>(mPages->getByIndex(slide - 1), UNO_QUERY_THROW);
        } catch (const lang::IndexOutOfBoundsException&) {
            throw Failure(QStringLiteral("The presentation has no slide %1; it has %2 slides.")
                              .arg(slide)
                              .arg(mPages->getCount()));
        }
    }

    // The window's controls are asked for at the first step that uses them,
    // not at the open: the engine draws the opened deck in the pause that
    // follows instead of holding up a call until it has. The sidebar, which
    // the profile keeps hidden, goes then too if the user brought it back.
    const DocumentView& view()
    {
        if (!mView) {
            hideSidebar(mDocument);
            mView = DocumentView::of(mDocument);
        }
        return *mView;
    }

    std::shared_ptr<EngineInstance> mInstance;
    Reference<frame::XModel> mDocument;
    std::optional<DocumentView> mView;
    Reference<drawing::XDrawPages> mPages;
    QString mPath;
    ParkedFrame mParked;
};

class UnoApplication : public PresentationApplication {
public:
    UnoApplication(std::shared_ptr<EngineInstance> instance, WindowSystem& windows)
        : mInstance(std::move(instance)), mWindows(windows)
    {
    }

    QString Name() override
    {
        engineCall(QStringLiteral("Reading the application's name"),
                   [&] { mInstance->connection().desktop()->getCurrentFrame(); });
        return presentationApplicationName;
    }

    void setVisible(bool visible) override
    {
        engineCall(QStringLiteral("Showing the presentation application"), [&] {
            mInstance->setVisible(visible);
            if (const auto& document = mInstance->selection().document(); document.is())
                document->getCurrentController()->getFrame()->getContainerWindow()->setVisible(visible);
        });
    }

    // The engine's private profile already keeps every dialog away, so
    // there are no alerts left to switch off.
    void setDisplayAlerts(bool) override {}

    void Quit() override
    {
        if (mInstance->quitRequested())
            return;
        engineCall(QStringLiteral("Ending the presentation application"),
                   [&] { mInstance->connection().desktop()->getCurrentFrame(); });
        mInstance->quit();
    }

    std::shared_ptr<Presentation> open(const QString& fileName, bool withWindow) override
    {
        const QString what = QStringLiteral("Opening the presentation %1").arg(shownPath(fileName));
        if (!QFileInfo(fileName).isFile())
            throw Failure(what + QStringLiteral(" failed: the file does not exist."));
        // The engine would take an empty file for a new, empty presentation.
        if (QFileInfo(fileName).size() == 0)
            throw Failure(what + QStringLiteral(" failed: the file is empty."));
        return engineCall(what, [&]() -> std::shared_ptr<Presentation> {
            // The engine never asks the user anything: a question it would
            // ask (which filter, a repair) is answered with "cancel", and a
            // .ppt file is read by the presentation filter only.
            const bool isPpt = fileName.endsWith(QStringLiteral(".ppt"), Qt::CaseInsensitive);
            Sequence<beans::PropertyValue> arguments(isPpt ? 5 : 4);
            auto* argument = arguments.getArray();
            argument[0] = unoProperty("MacroExecutionMode", Any(document::MacroExecMode::NEVER_EXECUTE));
            argument[1] = unoProperty("UpdateDocMode", Any(document::UpdateDocMode::NO_UPDATE));
            argument[2] = unoProperty("ReadOnly", Any(false));
            argument[3] = unoProperty("InteractionHandler",
                                   Any(Reference<task::XInteractionHandler>(new CancelEveryQuestion)));
            if (isPpt)
                argument[4] = unoProperty("FilterName", Any(rtl::OUString("MS PowerPoint 97")));
            ParkedFrame parked;
            Reference<frame::XComponentLoader> loader(mInstance->connection().desktop(), UNO_QUERY_THROW);
            if (!withWindow) {
                parked = parkFrame(*mInstance, mWindows);
                loader.set(parked.frame, UNO_QUERY_THROW);
            }
            // A failed open takes its parked frame down with it, so that no
            // stale show window class is left for a later embedding to find.
            Reference<frame::XModel> document;
            try {
                document.set(loader->loadComponentFromURL(
                                 fileUrl(fileName),
                                 withWindow ? rtl::OUString("_blank") : rtl::OUString("_self"), 0, arguments),
                             UNO_QUERY);
                if (!Reference<presentation::XPresentationSupplier>(document, UNO_QUERY).is()) {
                    if (const Reference<util::XCloseable> other{document, UNO_QUERY}; other.is())
                        other->close(true);
                    throw Failure(what + QStringLiteral(" failed: the engine could not read it as a presentation."));
                }
                if (parked.frame.is())
                    hideEngineUi(parked, document);
            } catch (...) {
                unpark(parked);
                throw;
            }
            mInstance->recordDeck(fileName);
            if (withWindow) {
                mInstance->selection().showDocument(document, {});
                mInstance->selection().unselect();
            }
            return std::make_shared<UnoPresentation>(mInstance, document, fileName, parked);
        });
    }

    int presentationCount() override { return mInstance->connection().presentationCount(); }

    void selectShapeText(int start, int length) override
    {
        const QString text = shapeText(QStringLiteral("Selecting text"));
        if (length < 0) {
            start = 1;
            length = static_cast<int>(text.size());
        }
        if (start < 1 || length < 0 || start - 1 + length > text.size())
            throw Failure(QStringLiteral("Characters %1 to %2 lie outside the selected shape's text of %3 characters.")
                              .arg(start)
                              .arg(start - 1 + length)
                              .arg(text.size()));
        mInstance->selection().selectText(start - 1, length);
    }

    QString selectedText() override
    {
        const QString text = shapeText(QStringLiteral("Reading the selected text"));
        const auto range = mInstance->selection().text();
        return range ? text.mid(range->start, range->length) : text;
    }

    void replaceSelectedText(const QString& replacement) override
    {
        const QString text = shapeText(QStringLiteral("Replacing the selected text"));
        const auto range = mInstance->selection().text();
        const int start = range ? range->start : 0;
        const int length = range ? range->length : static_cast<int>(text.size());
        engineCall(QStringLiteral("Replacing the selected text"), [&] {
            const Reference<text::XText>& shapeText = mInstance->selection().shapeText();
            const Reference<text::XTextCursor> cursor = shapeText->createTextCursor();
            cursor->gotoStart(false);
            moveRight(cursor, LayerText::engineOffset(text, start), false);
            moveRight(cursor, LayerText::engineOffset(text, start + length) - LayerText::engineOffset(text, start), true);
            cursor->setString(toUno(LineBreaks::toLf(replacement)));
            const QString written = LineBreaks::toCrLf(
                LineBreaks::toLf(text.left(start) + replacement + text.mid(start + length)));
            hideBulletsOfEmptyLines(cursor, written);
            // The text is read back once written. Besides telling a write
            // that did not take, this brings the shape's layout up to date:
            // without it, an export to .pptx made right after the write by
            // an engine on a new profile could leave out every paragraph
            // after the first (about one export in five on a busy machine).
            // The engine splits a very long paragraph in parts of its own,
            // so only the characters are compared.
            const auto characters = [](QString text) { return text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')); };
            if (characters(fromUno(shapeText->getString())) != characters(written))
                throw Failure(QStringLiteral("Replacing the selected text failed: the presentation engine "
                                             "does not hold the text that was written."));
        });
        mInstance->selection().selectText(
            start, static_cast<int>(LineBreaks::toCrLf(LineBreaks::toLf(replacement)).size()));
    }

    void unselect() override
    {
        engineCall(QStringLiteral("Clearing the selection"), [&] {
            if (const auto& selector = mInstance->selection().selector(); selector.is())
                selector->select(Any());
        });
        mInstance->selection().unselect();
    }

private:
    // An empty line shows no bullet, as in the object model; the engine
    // draws one on every paragraph of a bulleted text, empty or not. The
    // cursor goes to each empty line of the written text in turn: a
    // paragraph setting made at a cursor applies to the paragraph it is in.
    // (The text's own list of paragraphs can still span the text the shape
    // held before the write, and miss the new lines.)
    static void hideBulletsOfEmptyLines(const Reference<text::XTextCursor>& cursor, const QString& written)
    {
        Reference<beans::XPropertySet> paragraph;
        int at = 0;
        int lineStart = 0;
        for (const QString& line : written.split(QStringLiteral("\r\n"))) {
            if (line.isEmpty()) {
                if (!paragraph.is()) {
                    paragraph.set(cursor, UNO_QUERY_THROW);
                    cursor->gotoStart(false);
                }
                const int offset = LayerText::engineOffset(written, lineStart);
                moveRight(cursor, offset - at, false);
                at = offset;
                paragraph->setPropertyValue("NumberingLevel", Any(sal_Int16(-1)));
            }
            lineStart += static_cast<int>(line.size()) + 2;
        }
    }

    static void moveRight(const Reference<text::XTextCursor>& cursor, int count, bool expand)
    {
        while (count > 0) {
            const sal_Int16 step = static_cast<sal_Int16>(std::min(count, 32767));
            cursor->goRight(step, expand);
            count -= step;
        }
    }

    // The selected shape's whole text in the layer's form.
    QString shapeText(const QString& what)
    {
        if (!mInstance->selection().shape().is())
            throw Failure(what + QStringLiteral(" failed: no shape is selected in the active window."));
        return engineCall(what, [&] {
            const Reference<text::XText>& text = mInstance->selection().shapeText();
            if (!text.is())
                throw Failure(what + QStringLiteral(" failed: the selected shape holds no text."));
            return LineBreaks::toCrLf(fromUno(text->getString()));
        });
    }

    std::shared_ptr<EngineInstance> mInstance;
    WindowSystem& mWindows;
};

}  // namespace

UnoEngine::UnoEngine(WindowSystem& windows, EngineSettings settings)
    : mWindows(windows), mSettings(std::move(settings))
{
}

std::shared_ptr<PresentationApplication> UnoEngine::CreateObject()
{
    return std::make_shared<UnoApplication>(EngineInstance::reach(mSettings, true), mWindows);
}

std::shared_ptr<PresentationApplication> UnoEngine::GetObject()
{
    return std::make_shared<UnoApplication>(EngineInstance::reach(mSettings, false), mWindows);
}

bool UnoEngine::CanCreateObject()
{
    return EngineProcess::installed(mSettings);
}

void UnoEngine::prepareSpare(std::function<void(const QString& description)> onStartFailed)
{
    SpareEngine::StartFailed told;
    if (onStartFailed)
        told = [onStartFailed = std::move(onStartFailed)](const QString& description) {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [=] { onStartFailed(description); },
                                      Qt::QueuedConnection);
        };
    SpareEngine::prepare(mSettings, std::move(told));
}

void UnoEngine::endInstancesStartedHere()
{
    EngineInstance::endAllStartedHere();
}

void UnoEngine::endInstanceLeftBehind()
{
    EngineInstance::endLeftBehind(mSettings);
}
