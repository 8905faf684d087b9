#include "engine/uno/uno_presentation.h"

#include "engine/uno/deck_language.h"
#include "engine/uno/deck_properties.h"
#include "engine/uno/engine_call.h"
#include "engine/uno/engine_instance.h"
#include "engine/uno/engine_main_thread.h"
#include "engine/uno/shape_descriptions.h"
#include "engine/uno/shape_names.h"
#include "engine/uno/slide_shapes.h"
#include "engine/uno/uno_chart.h"
#include "engine/uno/uno_logo.h"
#include "engine/uno/uno_show_window.h"
#include "engine/uno/uno_table.h"
#include "shell/line_breaks.h"

#include <QRegularExpression>

#include <algorithm>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>
#include <com/sun/star/document/XLinkTargetSupplier.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPageDuplicator.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XDrawView.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/IndexOutOfBoundsException.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/presentation/XPresentation2.hpp>
#include <com/sun/star/presentation/XPresentationPage.hpp>
#include <com/sun/star/presentation/XPresentationSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <optional>
#include <vector>

using namespace css;
using namespace css::uno;

namespace {

// How long a call made from the engine's main loop waits for the loop to
// come to it; it comes within milliseconds unless the engine hangs.
constexpr int kMainLoopMs = 20000;

// The engine's own export filter for each format.
rtl::OUString exportFilter(SaveAsFileType format)
{
    switch (format) {
    case SaveAsFileType::Presentation: return "MS PowerPoint 97";
    case SaveAsFileType::OpenXMLPresentation: return "Impress MS PowerPoint 2007 XML";
    case SaveAsFileType::OpenDocumentPresentation: return "impress8";
    case SaveAsFileType::PDF: return "impress_pdf_Export";
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
QStringList storedShapeNames(const Reference<drawing::XDrawPage>& page,
                             const std::vector<Reference<drawing::XShape>>& shapes)
{
    const Reference<container::XNameAccess> named =
        Reference<document::XLinkTargetSupplier>(page, UNO_QUERY_THROW)->getLinks();
    if (named.is() && !named->hasElements())
        return QStringList(static_cast<qsizetype>(shapes.size()), QString());
    QStringList names;
    for (const Reference<drawing::XShape>& shape : shapes)
        names << fromUno(Reference<container::XNamed>(shape, UNO_QUERY_THROW)->getName());
    return names;
}

class UnoPresentation : public Presentation {
public:
    UnoPresentation(std::shared_ptr<EngineInstance> instance, Reference<frame::XModel> document, QString path,
                    ParkedFrame parked = {})
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
            const Reference<frame::XFramesSupplier> desktop(mInstance->connection().desktop(), UNO_QUERY_THROW);
            return std::make_shared<UnoShowWindow>(mParked, mDocument->getCurrentController()->getFrame(), show,
                                                   desktop);
        });
    }

    void Save() override
    {
        engineCall(QStringLiteral("Saving %1").arg(shownPath(mPath)), [&] {
            keepShapeDescriptions(Reference<lang::XComponent>(mDocument, UNO_QUERY_THROW));
            Reference<frame::XStorable>(mDocument, UNO_QUERY_THROW)->store();
        });
    }

    void SaveCopyAs(const QString& fileName, SaveAsFileType format) override
    {
        engineCall(QStringLiteral("Saving a copy of %1 as %2").arg(shownPath(mPath), shownPath(fileName)), [&] {
            uno::Sequence<beans::PropertyValue> arguments(2);
            arguments.getArray()[0] = unoProperty("FilterName", Any(exportFilter(format)));
            arguments.getArray()[1] = unoProperty("Overwrite", Any(true));
            if (format == SaveAsFileType::PDF) {
                // Tagged, so that screen readers follow the slides' structure
                // and read the drawings' descriptions. The engine writes no
                // description for a chart's figure, so a deck with a chart
                // does not claim to be accessible throughout (PDF/UA).
                uno::Sequence<beans::PropertyValue> pdf(2);
                pdf.getArray()[0] = unoProperty("UseTaggedPDF", Any(true));
                pdf.getArray()[1] = unoProperty("PDFUACompliance", Any(!holdsAChart()));
                arguments.realloc(3);
                arguments.getArray()[2] = unoProperty("FilterData", Any(pdf));
            }
            // Only the deck's own format drops the shapes' descriptions.
            const Reference<lang::XComponent> document(mDocument, UNO_QUERY_THROW);
            if (format == SaveAsFileType::Presentation)
                keepShapeDescriptions(document);
            if (format == SaveAsFileType::PDF)
                engineInDeckLanguage(mInstance->connection().context(), document);
            Reference<frame::XStorable>(mDocument, UNO_QUERY_THROW)->storeToURL(fileUrl(fileName), arguments);
        });
    }

    void setTitle(const QString& title) override
    {
        engineCall(QStringLiteral("Writing the title of %1").arg(shownPath(mPath)), [&] {
            Reference<document::XDocumentPropertiesSupplier>(mDocument, UNO_QUERY_THROW)
                ->getDocumentProperties()
                ->setTitle(toUno(title));
        });
    }

    void setLanguage(const QString& locale) override
    {
        engineCall(QStringLiteral("Writing the language of %1").arg(shownPath(mPath)),
                   [&] { setDeckLanguage(Reference<lang::XComponent>(mDocument, UNO_QUERY_THROW), locale); });
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

    void duplicateSlide(int slide) override
    {
        engineCall(QStringLiteral("Copying slide %1").arg(slide), [&] {
            Reference<drawing::XDrawPageDuplicator>(mDocument, UNO_QUERY_THROW)->duplicate(page(slide));
        });
    }

    void setFooterText(int slide, const QString& text) override
    {
        engineCall(QStringLiteral("Writing the footer of slide %1").arg(slide), [&] {
            Reference<beans::XPropertySet>(page(slide), UNO_QUERY_THROW)
                ->setPropertyValue("FooterText", Any(toUno(text)));
        });
    }

    void setNotesText(int slide, const QString& text) override
    {
        engineCall(QStringLiteral("Writing the speaker notes of slide %1").arg(slide), [&] {
            const Reference<drawing::XDrawPage> notesPage =
                Reference<presentation::XPresentationPage>(page(slide), UNO_QUERY_THROW)->getNotesPage();
            Reference<text::XText>(notesShape(notesPage), UNO_QUERY_THROW)->setString(toUno(LineBreaks::toLf(text)));
        });
    }

    // A total is the number written right after a slide number field and a
    // slash, as in "<number> / 12", in a text of the deck's designs.
    QList<QStringList> SpokenSlides() override
    {
        return engineCall(QStringLiteral("Reading the texts of the slides of %1").arg(shownPath(mPath)), [&] {
            QList<QStringList> spoken;
            for (sal_Int32 slide = 1; slide <= pages()->getCount(); ++slide) {
                QStringList texts, descriptions;
                for (const Reference<drawing::XShape>& shape : shapesOn(page(slide), slide)) {
                    if (isDrawingOrChart(shape)) {
                        rtl::OUString description;
                        Reference<beans::XPropertySet>(shape, UNO_QUERY_THROW)->getPropertyValue("Description") >>=
                            description;
                        if (!description.isEmpty())
                            descriptions << fromUno(description);
                    } else if (isTable(shape)) {
                        texts << spokenRows(shape);
                    } else if (const Reference<text::XText> text(shape, UNO_QUERY); text.is()) {
                        const QString written = fromUno(text->getString()).trimmed();
                        if (!written.isEmpty())
                            texts << written;
                    }
                }
                spoken << texts + descriptions;
            }
            return spoken;
        });
    }

    void updateSlideTotals() override
    {
        engineCall(QStringLiteral("Writing the number of slides"), [&] {
            const QString total = QString::number(pages()->getCount());
            const Reference<drawing::XDrawPages> masters =
                Reference<drawing::XMasterPagesSupplier>(mDocument, UNO_QUERY_THROW)->getMasterPages();
            for (sal_Int32 m = 0; m < masters->getCount(); ++m) {
                const Reference<drawing::XDrawPage> master(masters->getByIndex(m), UNO_QUERY_THROW);
                for (sal_Int32 i = 0; i < master->getCount(); ++i)
                    if (const Reference<text::XText> text(master->getByIndex(i), UNO_QUERY); text.is())
                        if (const Reference<text::XTextRange> number = slideNumberField(text); number.is())
                            writeTotalAfter(number, total);
            }
        });
    }

    void placeLogo(const QString& file, const QString& description) override
    {
        engineCall(QStringLiteral("Placing the logo"), [&] {
            ::placeLogo(mInstance->connection().context(), Reference<lang::XComponent>(mDocument, UNO_QUERY_THROW),
                        file, description);
        });
    }

    void selectSlide(int slide) override
    {
        engineCall(QStringLiteral("Showing slide %1").arg(slide), [&] {
            showInWindow(view(), page(slide), Any());
            mInstance->selection().showDocument(mDocument, view().selection);
        });
    }

    // The template's text shapes carry no names of their own and come
    // first on a slide, so they answer to the default names of the first
    // two shapes.
    QString shapeName(TextShape shape) override
    {
        return shape == TextShape::Title ? QStringLiteral("Rectangle 2") : QStringLiteral("Rectangle 3");
    }

    void selectShape(int slide, const QString& name) override
    {
        engineCall(QStringLiteral("Selecting shape \"%1\" on slide %2").arg(name).arg(slide), [&] {
            const Reference<drawing::XDrawPage> drawPage = page(slide);
            const std::vector<Reference<drawing::XShape>> shapes = shapesOn(drawPage, slide);
            const int index = shapeIndex(drawPage, shapes, slide, name);
            const Reference<drawing::XShape>& shape = shapes.at(static_cast<size_t>(index));
            showInWindow(view(), drawPage, Any(shape));
            mInstance->selection().selectShape(mDocument, view().selection, shape,
                                               Reference<text::XText>(shape, UNO_QUERY),
                                               Reference<drawing::XShapes>(drawPage, UNO_QUERY_THROW), index);
        });
    }

    // The chart takes the place of the body, the drawing beside it and a
    // chart the slide was copied with: everything but the title.
    void replaceBodyWithChart(int slide, const ChartData& chart) override
    {
        engineCall(QStringLiteral("Making the chart on slide %1").arg(slide), [&] {
            const BodyArea area = clearBodyArea(slide);
            addChart(Reference<lang::XMultiServiceFactory>(mDocument, UNO_QUERY_THROW), area.page, chart,
                     ChartLook{deckColours(), area.fontName, area.textColour}, area.position, area.size);
        });
    }

    // The table takes the place of the body, as a chart does. It is made
    // from the engine's main loop: its rows and columns, made beside the
    // loop, left the slide's window a pending update that ended the engine
    // when the deck was closed (a deck in three, over twenty decks).
    TableFit replaceBodyWithTable(int slide, const TableData& table) override
    {
        return engineCall(QStringLiteral("Making the table on slide %1").arg(slide), [&] {
            TableFit fit;
            onEngineMainThread(
                mInstance->connection().context(),
                [&] {
                    const BodyArea area = clearBodyArea(slide);
                    fit = addTable(Reference<lang::XMultiServiceFactory>(mDocument, UNO_QUERY_THROW), area.page, table,
                                   TableLook{deckColours().front(), 0xFFFFFF, area.textColour, area.fontName},
                                   area.position, area.size);
                },
                kMainLoopMs);
            return fit;
        });
    }

    void deleteSlide(int slide) override
    {
        engineCall(QStringLiteral("Taking out slide %1").arg(slide), [&] { pages()->remove(page(slide)); });
    }

private:
    // The area a slide's body, its drawing and a chart it was copied with
    // cover together, in the body's font and colour.
    struct BodyArea {
        Reference<drawing::XDrawPage> page;
        awt::Point position;
        awt::Size size;
        rtl::OUString fontName;
        sal_Int32 textColour = 0;
    };

    // Shows the slide and takes everything but its title off it: the area
    // they covered is where a chart or table goes.
    BodyArea clearBodyArea(int slide)
    {
        BodyArea area{page(slide), {}, {}, {}, 0};
        const std::vector<Reference<drawing::XShape>> shapes = shapesOn(area.page, slide);
        const Reference<drawing::XShape>& body =
            shapes.at(static_cast<size_t>(shapeIndex(area.page, shapes, slide, shapeName(TextShape::Body))));
        std::vector<Reference<drawing::XShape>> covered = {body};
        for (const Reference<drawing::XShape>& shape : shapes)
            if (isDrawingOrChart(shape))
                covered.push_back(shape);
        awt::Point topLeft = body->getPosition();
        awt::Point bottomRight(topLeft.X + body->getSize().Width, topLeft.Y + body->getSize().Height);
        for (const Reference<drawing::XShape>& shape : covered) {
            topLeft =
                awt::Point(std::min(topLeft.X, shape->getPosition().X), std::min(topLeft.Y, shape->getPosition().Y));
            bottomRight = awt::Point(std::max(bottomRight.X, shape->getPosition().X + shape->getSize().Width),
                                     std::max(bottomRight.Y, shape->getPosition().Y + shape->getSize().Height));
        }
        const Reference<beans::XPropertySet> text(Reference<text::XText>(body, UNO_QUERY_THROW)->createTextCursor(),
                                                  UNO_QUERY_THROW);
        text->getPropertyValue("CharFontName") >>= area.fontName;
        text->getPropertyValue("CharColor") >>= area.textColour;
        showInWindow(view(), area.page, Any());
        mInstance->selection().showDocument(mDocument, view().selection);
        for (const Reference<drawing::XShape>& shape : covered)
            area.page->remove(shape);
        area.position = topLeft;
        area.size = awt::Size(bottomRight.X - topLeft.X, bottomRight.Y - topLeft.Y);
        return area;
    }

    static std::vector<Reference<drawing::XShape>> shapesOn(const Reference<drawing::XDrawPage>& drawPage, int slide)
    {
        return slideShapes(Reference<drawing::XShapes>(drawPage, UNO_QUERY_THROW),
                           QStringLiteral("slide %1").arg(slide));
    }

    // The index of the shape that answers to name among the slide's shapes.
    static int shapeIndex(const Reference<drawing::XDrawPage>& drawPage,
                          const std::vector<Reference<drawing::XShape>>& shapes, int slide, const QString& name)
    {
        // The shape's type gives the kind of its default name.
        const auto typeAt = [&](int i) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
            return fromUno(shapes.at(static_cast<size_t>(i))->getShapeType());
#pragma GCC diagnostic pop
        };
        const int index = findShape(storedShapeNames(drawPage, shapes), typeAt, name);
        if (index < 0)
            throw Failure(QStringLiteral("Slide %1 has no shape named \"%2\".").arg(slide).arg(name));
        return index;
    }

    bool holdsAChart()
    {
        for (sal_Int32 slide = 1; slide <= pages()->getCount(); ++slide)
            for (const Reference<drawing::XShape>& shape : shapesOn(page(slide), slide))
                if (isChart(shape))
                    return true;
        return false;
    }

    // The engine's charts are the only objects a deck embeds.
    static bool isChart(const Reference<drawing::XShape>& shape)
    {
        return Reference<lang::XServiceInfo>(shape, UNO_QUERY_THROW)->supportsService("com.sun.star.drawing.OLE2Shape");
    }

    // A slide's drawing, the picture the template draws beside a section's
    // text (the logo lies on the master pages), or a chart.
    static bool isDrawingOrChart(const Reference<drawing::XShape>& shape)
    {
        return isChart(shape)
               || Reference<lang::XServiceInfo>(shape, UNO_QUERY_THROW)
                      ->supportsService("com.sun.star.drawing.GraphicObjectShape");
    }

    // The colours the deck names for its charts' series; the engine's own
    // dark blue, then orange, for a deck that names none.
    const std::vector<sal_Int32>& deckColours()
    {
        if (!mDeckColours.empty())
            return mDeckColours;
        const QString named =
            DeckProperties::read(Reference<lang::XComponent>(mDocument, UNO_QUERY_THROW), DeckProperties::chartColours);
        for (const QString& name : named.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            bool read = false;
            const uint colour = name.sliced(1).toUInt(&read, 16);
            if (name.startsWith(QLatin1Char('#')) && name.size() == 7 && read)
                mDeckColours.push_back(static_cast<sal_Int32>(colour));
        }
        if (mDeckColours.empty())
            mDeckColours = {0x004586, 0xFF420E};
        return mDeckColours;
    }

    // The slide number field in a text, or none.
    static Reference<text::XTextRange> slideNumberField(const Reference<text::XText>& text)
    {
        const Reference<container::XEnumeration> paragraphs =
            Reference<container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
        while (paragraphs->hasMoreElements()) {
            const Reference<container::XEnumeration> portions =
                Reference<container::XEnumerationAccess>(paragraphs->nextElement(), UNO_QUERY_THROW)
                    ->createEnumeration();
            while (portions->hasMoreElements()) {
                const Reference<beans::XPropertySet> portion(portions->nextElement(), UNO_QUERY_THROW);
                if (portion->getPropertyValue("TextPortionType") != Any(rtl::OUString("TextField")))
                    continue;
                const Reference<lang::XServiceInfo> field(portion->getPropertyValue("TextField"), UNO_QUERY);
                if (field.is()
                    && (field->supportsService("com.sun.star.text.textfield.PageNumber")
                        || field->supportsService("com.sun.star.text.TextField.PageNumber")))
                    return Reference<text::XTextRange>(portion, UNO_QUERY_THROW);
            }
        }
        return {};
    }

    // The text shape of a notes page that holds the notes; one is added
    // where the page has none, over the lower half of the page as notes
    // pages lay them out.
    Reference<drawing::XShape> notesShape(const Reference<drawing::XDrawPage>& notesPage)
    {
        static const rtl::OUString notesType("com.sun.star.presentation.NotesShape");
        for (sal_Int32 i = 0; i < notesPage->getCount(); ++i) {
            const Reference<drawing::XShape> shape(notesPage->getByIndex(i), UNO_QUERY_THROW);
            if (Reference<lang::XServiceInfo>(shape, UNO_QUERY_THROW)->supportsService(notesType))
                return shape;
        }
        const Reference<drawing::XShape> shape(
            Reference<lang::XMultiServiceFactory>(mDocument, UNO_QUERY_THROW)->createInstance(notesType),
            UNO_QUERY_THROW);
        notesPage->add(shape);
        const Reference<beans::XPropertySet> size(notesPage, UNO_QUERY_THROW);
        sal_Int32 width = 0;
        sal_Int32 height = 0;
        size->getPropertyValue("Width") >>= width;
        size->getPropertyValue("Height") >>= height;
        shape->setPosition(awt::Point(width / 10, height / 2));
        shape->setSize(awt::Size(width * 8 / 10, height * 4 / 10));
        return shape;
    }

    static void writeTotalAfter(const Reference<text::XTextRange>& number, const QString& total)
    {
        static const QRegularExpression writtenTotal(QStringLiteral("^(\\s*/\\s*)\\d+\\s*$"));
        const Reference<text::XTextCursor> after = number->getText()->createTextCursorByRange(number->getEnd());
        after->gotoEnd(true);
        const QRegularExpressionMatch match = writtenTotal.match(fromUno(after->getString()));
        if (match.hasMatch())
            after->setString(toUno(match.captured(1) + total));
    }

    // The document's list of slides stays the same object while it is open,
    // and always tells its current slides: asked for once, it saves two
    // calls into the engine per slide looked up.
    const Reference<drawing::XDrawPages>& pages()
    {
        if (!mPages.is())
            mPages = Reference<drawing::XDrawPagesSupplier>(mDocument, UNO_QUERY_THROW)->getDrawPages();
        return mPages;
    }

    Reference<drawing::XDrawPage> page(int slide)
    {
        try {
            return Reference<drawing::XDrawPage>(pages()->getByIndex(slide - 1), UNO_QUERY_THROW);
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
    std::vector<sal_Int32> mDeckColours;
    QString mPath;
    ParkedFrame mParked;
};

}  // namespace

std::shared_ptr<Presentation> unoPresentation(std::shared_ptr<EngineInstance> instance,
                                              Reference<frame::XModel> document, QString path, ParkedFrame parked)
{
    return std::make_shared<UnoPresentation>(std::move(instance), std::move(document), std::move(path),
                                             std::move(parked));
}
