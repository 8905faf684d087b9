#include "engine/uno/uno_application.h"

#include "engine/uno/cancel_every_question.h"
#include "engine/uno/deck_language.h"
#include "engine/uno/engine_call.h"
#include "engine/uno/engine_instance.h"
#include "engine/uno/flat_text_export.h"
#include "engine/uno/layer_text.h"
#include "engine/uno/parked_frame.h"
#include "engine/uno/shape_descriptions.h"
#include "engine/uno/uno_presentation.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/drawing/TextFitToSizeType.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <optional>

using namespace css;
using namespace css::uno;

namespace {

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
        return unoApplicationName;
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

    void SaveDocumentAsFlatText(const QString& fileName, const QString& flatTextFile) override
    {
        saveDocumentAsFlatText(*mInstance, fileName, flatTextFile);
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
            argument[3] =
                unoProperty("InteractionHandler", Any(Reference<task::XInteractionHandler>(new CancelEveryQuestion)));
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
                document.set(
                    loader->loadComponentFromURL(
                        fileUrl(fileName), withWindow ? rtl::OUString("_blank") : rtl::OUString("_self"), 0, arguments),
                    UNO_QUERY);
                if (!Reference<presentation::XPresentationSupplier>(document, UNO_QUERY).is()) {
                    if (const Reference<util::XCloseable> other{document, UNO_QUERY}; other.is())
                        other->close(true);
                    throw Failure(what + QStringLiteral(" failed: the engine could not read it as a presentation."));
                }
                // What the deck's own format drops, the deck keeps elsewhere.
                restoreShapeDescriptions(Reference<lang::XComponent>(document, UNO_QUERY_THROW));
                restoreDeckLanguage(Reference<lang::XComponent>(document, UNO_QUERY_THROW));
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
            return unoPresentation(mInstance, document, fileName, parked);
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
            moveRight(cursor, LayerText::engineOffset(text, start + length) - LayerText::engineOffset(text, start),
                      true);
            cursor->setString(toUno(LineBreaks::toLf(replacement)));
            const QString written = LineBreaks::toCrLf(text.left(start) + replacement + text.mid(start + length));
            hideBulletsOfEmptyLines(cursor, written);
            // The text is read back once written. Besides telling a write
            // that did not take, this brings the shape's layout up to date:
            // without it, an export to .pptx made right after the write by
            // an engine on a new profile could leave out every paragraph
            // after the first (about one export in five on a busy machine).
            // The engine splits a very long paragraph in parts of its own,
            // so only the characters are compared.
            const auto characters = [](QString text) {
                return text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
            };
            if (characters(fromUno(shapeText->getString())) != characters(written))
                throw Failure(
                    QStringLiteral("Replacing the selected text failed: the presentation engine "
                                   "does not hold the text that was written."));
        });
        mInstance->selection().selectText(start, static_cast<int>(LineBreaks::toCrLf(replacement).size()));
    }

    // The text's size at its start, times the share (in percent) the shape
    // shrank it to, to fit.
    float selectedTextShownSize() override
    {
        const QString what = QStringLiteral("Reading the size of the selected text");
        const bool empty = shapeText(what).isEmpty();
        return engineCall(what, [&] {
            const Reference<drawing::XShape> shape = mInstance->selection().shapeInPlace();
            float size = 0;
            Reference<beans::XPropertySet>(Reference<text::XText>(shape, UNO_QUERY_THROW)->createTextCursor(),
                                           UNO_QUERY_THROW)
                ->getPropertyValue("CharHeight") >>= size;
            return empty ? size : static_cast<float>(size * shrinkOf(shape) / 100.0);
        });
    }

    // The shape is made to shrink its text to fit, and the text is given the
    // size it shrank to, a point smaller each time while the shape still
    // shrinks it: the shape also shrinks the spacing between lines, which the
    // text's own size does not bring.
    void fitSelectedTextToShape() override
    {
        const QString what = QStringLiteral("Fitting the selected text to its shape");
        if (shapeText(what).isEmpty())
            return;
        engineCall(what, [&] {
            const Reference<drawing::XShape> shape = mInstance->selection().shapeInPlace();
            Reference<beans::XPropertySet>(shape, UNO_QUERY_THROW)
                ->setPropertyValue("TextFitToSize", Any(drawing::TextFitToSizeType_AUTOFIT));
            const Reference<text::XText> text(shape, UNO_QUERY_THROW);
            const Reference<text::XTextCursor> cursor = text->createTextCursor();
            cursor->gotoStart(false);
            cursor->gotoEnd(true);
            const Reference<beans::XPropertySet> characters(cursor, UNO_QUERY_THROW);
            float size = 0;
            characters->getPropertyValue("CharHeight") >>= size;
            for (double share = shrinkOf(shape); share < 100 && size > 1; share = shrinkOf(shape)) {
                size = std::min(size - 1, std::floor(static_cast<float>(size * share / 100)));
                characters->setPropertyValue("CharHeight", Any(size));
                text->getString();
            }
        });
    }

    void setSelectedTextSize(float points) override
    {
        const QString what = QStringLiteral("Setting the size of the selected text");
        if (shapeText(what).isEmpty())
            return;
        engineCall(what, [&] {
            const Reference<text::XText> text(mInstance->selection().shapeInPlace(), UNO_QUERY_THROW);
            const Reference<text::XTextCursor> cursor = text->createTextCursor();
            cursor->gotoStart(false);
            cursor->gotoEnd(true);
            Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW)->setPropertyValue("CharHeight", Any(points));
        });
    }

    // The share the shape shrinks its text to; a shape that does not shrink
    // text shows it whole.
    static double shrinkOf(const Reference<drawing::XShape>& shape)
    {
        const Reference<beans::XPropertySet> properties(shape, UNO_QUERY_THROW);
        drawing::TextFitToSizeType fit = drawing::TextFitToSizeType_NONE;
        properties->getPropertyValue("TextFitToSize") >>= fit;
        if (fit != drawing::TextFitToSizeType_AUTOFIT
            || !properties->getPropertySetInfo()->hasPropertyByName("TextFitToSizeScale"))
            return 100;
        double share = 0;
        properties->getPropertyValue("TextFitToSizeScale") >>= share;
        if (share <= 0)
            throw Failure(QStringLiteral("The presentation engine did not tell how far it shrank the text to fit."));
        return share;
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

std::shared_ptr<PresentationApplication> unoApplication(std::shared_ptr<EngineInstance> instance, WindowSystem& windows)
{
    return std::make_shared<UnoApplication>(std::move(instance), windows);
}
