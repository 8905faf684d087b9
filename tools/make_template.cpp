// Builds the business plan template deck through the presentation engine.
//
//     make_template <description.json> <out.ppt> <work-folder> [<sections>]
//
// With a number of sections, only that many of the plan's sections get a
// slide (a deck that lacks slides, as a damaged or foreign one does).
//
// The description names the page size, font, colours, the places and texts
// of the slides; the sections' titles, placeholders and drawings come from
// the plan's table of sections, a slide each. Slide 1 holds the company name then the plan title;
// every other slide its section's title, then a body text shape for bullet
// points, then the section's drawing. Decoration and the slide numbers live
// on two master pages. The texts come first on each slide, in that order.
#include "engine/uno/deck_properties.h"
#include "engine/uno/engine_call.h"
#include "engine/uno/engine_instance.h"
#include "engine/uno/shape_descriptions.h"
#include "plan/plan_sections.h"
#include "tools/section_drawings.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <com/sun/star/awt/FontDescriptor.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexReplace.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/LineStyle.hpp>
#include <com/sun/star/drawing/TextFitToSizeType.hpp>
#include <com/sun/star/drawing/TextVerticalAdjust.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XMasterPageTarget.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/style/LineSpacing.hpp>
#include <com/sun/star/style/LineSpacingMode.hpp>
#include <com/sun/star/style/NumberingType.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextContent.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cstdio>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr sal_Int16 kTitleContentLayout = 1;  // title and bulleted body
constexpr float kBold = 150.0f;

// Sets a property of a numbering level, adding it when the level lacks it.
void setLevelProperty(uno::Sequence<beans::PropertyValue>& level, const char* name, const Any& value)
{
    for (sal_Int32 i = 0; i < level.getLength(); ++i)
        if (level[i].Name.equalsAscii(name)) {
            level.getArray()[i].Value = value;
            return;
        }
    level.realloc(level.getLength() + 1);
    level.getArray()[level.getLength() - 1] = unoProperty(name, value);
}

Box boxOf(const QJsonObject& shape)
{
    const QJsonArray box = shape["box"].toArray();
    return {box[0].toInt(), box[1].toInt(), box[2].toInt(), box[3].toInt()};
}

class DeckBuilder {
public:
    DeckBuilder(const QJsonObject& description, QList<PlanSection> sections, Reference<lang::XComponent> document,
                Reference<uno::XComponentContext> context, QString workFolder)
        : mDescription(description),
          mSections(std::move(sections)),
          mDocument(std::move(document)),
          mFactory(mDocument, UNO_QUERY_THROW),
          mPages(Reference<drawing::XDrawPagesSupplier>(mDocument, UNO_QUERY_THROW)->getDrawPages()),
          mMasters(Reference<drawing::XMasterPagesSupplier>(mDocument, UNO_QUERY_THROW)->getMasterPages()),
          mContext(std::move(context)),
          mWorkFolder(std::move(workFolder))
    {
        const QJsonObject page = description["page"].toObject();
        mWidth = page["width"].toInt();
        mHeight = page["height"].toInt();
        mFont = description["font"].toString();
        mTitleFont = description["titleFont"].toString(mFont);
    }

    void build()
    {
        const QList<PlanSection>& sections = mSections;
        while (mPages->getCount() < 1 + sections.size())
            mPages->insertNewByIndex(mPages->getCount() - 1);
        Reference<beans::XPropertySet>(mPages->getByIndex(0), UNO_QUERY_THROW)
            ->setPropertyValue("Width", Any(sal_Int32(mWidth)));
        Reference<beans::XPropertySet>(mPages->getByIndex(0), UNO_QUERY_THROW)
            ->setPropertyValue("Height", Any(sal_Int32(mHeight)));

        const auto sectionMaster = page(mMasters, 0);
        const auto titleMaster = Reference<drawing::XDrawPage>(mMasters->insertNewByIndex(1), UNO_QUERY_THROW);
        decorateSectionMaster(sectionMaster);
        decorateTitleMaster(titleMaster);

        buildTitleSlide(titleMaster);
        for (int i = 0; i < sections.size(); ++i)
            buildSectionSlide(i + 2, sections.at(i), sectionMaster);
        writeChartColours();
    }

private:
    static Reference<drawing::XDrawPage> page(const Reference<drawing::XDrawPages>& pages, int index)
    {
        return Reference<drawing::XDrawPage>(pages->getByIndex(index), UNO_QUERY_THROW);
    }

    sal_Int32 colour(const QString& name) const
    {
        return static_cast<sal_Int32>(QColor(mDescription["colours"].toObject()[name].toString()).rgb() & 0xffffff);
    }

    Reference<drawing::XShape> addShape(const Reference<drawing::XDrawPage>& target, const char* service, Box box)
    {
        const Reference<drawing::XShape> shape(mFactory->createInstance(rtl::OUString::createFromAscii(service)),
                                               UNO_QUERY_THROW);
        target->add(shape);
        shape->setPosition(awt::Point(box.x, box.y));
        shape->setSize(awt::Size(box.width, box.height));
        return shape;
    }

    void addPanel(const Reference<drawing::XDrawPage>& target, Box box, sal_Int32 fill)
    {
        const Reference<beans::XPropertySet> panel(addShape(target, "com.sun.star.drawing.RectangleShape", box),
                                                   UNO_QUERY_THROW);
        panel->setPropertyValue("FillStyle", Any(drawing::FillStyle_SOLID));
        panel->setPropertyValue("FillColor", Any(fill));
        panel->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    }

    Reference<drawing::XShape> addLabel(const Reference<drawing::XDrawPage>& target, Box box, const QString& text,
                                        float size, sal_Int32 ink)
    {
        const Reference<drawing::XShape> label = addShape(target, "com.sun.star.drawing.TextShape", box);
        Reference<text::XText>(label, UNO_QUERY_THROW)->setString(toUno(text));
        style(label, size, ink, false, drawing::TextVerticalAdjust_CENTER);
        return label;
    }

    void style(const Reference<drawing::XShape>& shape, float size, sal_Int32 ink, bool bold,
               drawing::TextVerticalAdjust vertical)
    {
        const Reference<beans::XPropertySet> properties(shape, UNO_QUERY_THROW);
        properties->setPropertyValue("CharFontName", Any(toUno(mFont)));
        properties->setPropertyValue("CharHeight", Any(size));
        properties->setPropertyValue("CharColor", Any(ink));
        properties->setPropertyValue("CharWeight", Any(bold ? kBold : 100.0f));
        properties->setPropertyValue("ParaAdjust", Any(sal_Int16(style::ParagraphAdjust_LEFT)));
        properties->setPropertyValue("TextVerticalAdjust", Any(vertical));
    }

    void decorateSectionMaster(const Reference<drawing::XDrawPage>& master)
    {
        const QJsonObject look = mDescription["sectionSlide"].toObject();
        decorate(master, look["decoration"].toArray());
        placeFooter(master, {1500, mHeight - 950, 16000, 700});
        addSlideNumber(master, {mWidth - 6500, mHeight - 950, 5000, 700});
        addLogoArea(master, look["logo"].toObject());
    }

    // The design's own shapes on a master, in the order given: rectangles,
    // or ellipses, filled with a colour of the palette, without lines.
    void decorate(const Reference<drawing::XDrawPage>& master, const QJsonArray& decoration)
    {
        for (const QJsonValue& value : decoration) {
            const QJsonObject shape = value.toObject();
            const bool ellipse = shape["shape"].toString() == QLatin1String("ellipse");
            const Reference<beans::XPropertySet> drawn(
                addShape(master, ellipse ? "com.sun.star.drawing.EllipseShape" : "com.sun.star.drawing.RectangleShape",
                         boxOf(shape)),
                UNO_QUERY_THROW);
            drawn->setPropertyValue("FillStyle", Any(drawing::FillStyle_SOLID));
            drawn->setPropertyValue("FillColor", Any(colour(shape["colour"].toString())));
            drawn->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
            if (shape.contains("transparency"))
                drawn->setPropertyValue("FillTransparence", Any(sal_Int16(shape["transparency"].toInt())));
        }
    }

    // Where the company's logo goes: a rectangle without fill, line or
    // text, which shows nothing until a deck places a logo there.
    void addLogoArea(const Reference<drawing::XDrawPage>& master, const QJsonObject& logo)
    {
        const Reference<beans::XPropertySet> area(addShape(master, "com.sun.star.drawing.RectangleShape", boxOf(logo)),
                                                  UNO_QUERY_THROW);
        area->setPropertyValue("FillStyle", Any(drawing::FillStyle_NONE));
        area->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    }

    // The design's footer placeholder, which shows each slide's own footer
    // text: the template's words until a plan's company name replaces them.
    void placeFooter(const Reference<drawing::XDrawPage>& master, Box box)
    {
        Reference<drawing::XShape> footer;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        for (sal_Int32 i = 0; i < master->getCount() && !footer.is(); ++i)
            if (const Reference<drawing::XShape> shape(master->getByIndex(i), UNO_QUERY_THROW);
                shape->getShapeType() == "com.sun.star.presentation.FooterShape")
                footer = shape;
#pragma GCC diagnostic pop
        if (!footer.is()) {
            footer.set(mFactory->createInstance("com.sun.star.presentation.FooterShape"), UNO_QUERY_THROW);
            master->add(footer);
        }
        footer->setPosition(awt::Point(box.x, box.y));
        footer->setSize(awt::Size(box.width, box.height));
        style(footer, 10, colour("muted"), false, drawing::TextVerticalAdjust_CENTER);
        // The placeholder's own text (the footer field) carries the font too:
        // a .ppt keeps the font of the text, not of the shape.
        const Reference<text::XTextCursor> text = Reference<text::XText>(footer, UNO_QUERY_THROW)->createTextCursor();
        text->gotoStart(false);
        text->gotoEnd(true);
        const Reference<beans::XPropertySet> characters(text, UNO_QUERY_THROW);
        characters->setPropertyValue("CharFontName", Any(toUno(mFont)));
        characters->setPropertyValue("CharHeight", Any(10.0f));
        characters->setPropertyValue("CharColor", Any(colour("muted")));
    }

    // "n / total" from the engine's own fields, so it stays right in every
    // format the deck is saved in.
    void addSlideNumber(const Reference<drawing::XDrawPage>& master, Box box)
    {
        const Reference<drawing::XShape> label = addShape(master, "com.sun.star.drawing.TextShape", box);
        const Reference<text::XText> text(label, UNO_QUERY_THROW);
        const Reference<text::XTextRange> cursor(text->createTextCursor(), UNO_QUERY_THROW);
        const auto field = [&](const char* service) {
            return Reference<text::XTextContent>(mFactory->createInstance(rtl::OUString::createFromAscii(service)),
                                                 UNO_QUERY_THROW);
        };
        text->insertTextContent(cursor, field("com.sun.star.text.TextField.PageNumber"), false);
        text->insertString(cursor, " / ", false);
        text->insertTextContent(cursor, field("com.sun.star.text.TextField.PageCount"), false);
        style(label, 10, colour("muted"), false, drawing::TextVerticalAdjust_CENTER);
        Reference<beans::XPropertySet>(label, UNO_QUERY_THROW)
            ->setPropertyValue("ParaAdjust", Any(sal_Int16(style::ParagraphAdjust_RIGHT)));
    }

    void decorateTitleMaster(const Reference<drawing::XDrawPage>& master)
    {
        const QJsonObject look = mDescription["titleSlide"].toObject();
        decorate(master, look["decoration"].toArray());
        addLabel(master, {1500, mHeight - 1300, 16000, 700}, look["footer"].toString(), 11,
                 colour(look["footerColour"].toString()));
        addLogoArea(master, look["logo"].toObject());
    }

    void placeText(const Reference<drawing::XShape>& shape, Box box, const QString& text, float size, sal_Int32 ink,
                   bool bold, drawing::TextVerticalAdjust vertical)
    {
        shape->setPosition(awt::Point(box.x, box.y));
        shape->setSize(awt::Size(box.width, box.height));
        Reference<text::XText>(shape, UNO_QUERY_THROW)->setString(toUno(text));
        style(shape, size, ink, bold, vertical);
    }

    Reference<drawing::XDrawPage> prepareSlide(int number, sal_Int16 layout,
                                               const Reference<drawing::XDrawPage>& master)
    {
        const Reference<drawing::XDrawPage> slide = page(mPages, number - 1);
        Reference<drawing::XMasterPageTarget>(slide, UNO_QUERY_THROW)->setMasterPage(master);
        Reference<beans::XPropertySet>(slide, UNO_QUERY_THROW)->setPropertyValue("Layout", Any(layout));
        return slide;
    }

    // The company name is the slide's title, so that it is the heading of
    // the title page wherever the deck is read out; the plan title is its
    // body. Both shrink long text to fit; the generator then gives the text
    // the size it shows at, as a title in the deck's format does not shrink.
    void buildTitleSlide(const Reference<drawing::XDrawPage>& master)
    {
        const auto slide = prepareSlide(1, kTitleContentLayout, master);
        const QJsonObject title = mDescription["titleSlide"].toObject();
        const QJsonObject company = title["company"].toObject();
        const QJsonObject plan = title["plan"].toObject();
        const Reference<drawing::XShape> name(slide->getByIndex(0), UNO_QUERY_THROW);
        const Reference<drawing::XShape> subtitle(slide->getByIndex(1), UNO_QUERY_THROW);
        placeText(name, boxOf(company), company["text"].toString(), company["size"].toInt(),
                  colour(company["colour"].toString()), true, drawing::TextVerticalAdjust_BOTTOM);
        inTitleFont(name);
        placeText(subtitle, boxOf(plan), plan["text"].toString(), plan["size"].toInt(),
                  colour(plan["colour"].toString()), false, drawing::TextVerticalAdjust_TOP);
        for (const auto& shape : {name, subtitle}) {
            Reference<beans::XPropertySet>(shape, UNO_QUERY_THROW)
                ->setPropertyValue("TextFitToSize", Any(drawing::TextFitToSizeType_AUTOFIT));
            withoutBullets(shape);
        }
    }

    void inTitleFont(const Reference<drawing::XShape>& shape)
    {
        Reference<beans::XPropertySet>(shape, UNO_QUERY_THROW)
            ->setPropertyValue("CharFontName", Any(toUno(mTitleFont)));
    }

    static void withoutBullets(const Reference<drawing::XShape>& shape)
    {
        const Reference<text::XTextCursor> cursor = Reference<text::XText>(shape, UNO_QUERY_THROW)->createTextCursor();
        cursor->gotoStart(false);
        cursor->gotoEnd(true);
        Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW)->setPropertyValue("NumberingLevel", Any(sal_Int16(-1)));
    }

    void buildSectionSlide(int number, const PlanSection& section, const Reference<drawing::XDrawPage>& master)
    {
        const auto slide = prepareSlide(number, kTitleContentLayout, master);
        const Reference<beans::XPropertySet> slideProperties(slide, UNO_QUERY_THROW);
        slideProperties->setPropertyValue("IsFooterVisible", Any(true));
        slideProperties->setPropertyValue("FooterText",
                                          Any(toUno(mDescription["sectionSlide"].toObject()["footer"].toString())));
        const QJsonObject look = mDescription["sectionSlide"].toObject();
        const QJsonObject title = look["title"].toObject();
        const QJsonObject body = look["body"].toObject();
        // The caption's doubled ampersand shows as one.
        const QString heading = section.title();
        placeText(Reference<drawing::XShape>(slide->getByIndex(0), UNO_QUERY_THROW), boxOf(title), heading,
                  title["size"].toInt(), colour(title["colour"].toString()), true, drawing::TextVerticalAdjust_CENTER);
        inTitleFont(Reference<drawing::XShape>(slide->getByIndex(0), UNO_QUERY_THROW));
        const Reference<drawing::XShape> text(slide->getByIndex(1), UNO_QUERY_THROW);
        placeText(text, boxOf(body), section.placeholder, body["size"].toInt(), colour("ink"), false,
                  drawing::TextVerticalAdjust_TOP);
        styleBody(text, body);
        SectionDrawings(mContext, mFactory, palette(), mWorkFolder, mCoverage)
            .draw(slide, section.drawing, boxOf(look["visual"].toObject()));
    }

    // Bullet points in the accent colour with a hanging indent, a little air
    // between lines and paragraphs, and text that shrinks as it grows.
    void styleBody(const Reference<drawing::XShape>& shape, const QJsonObject& body)
    {
        const Reference<beans::XPropertySet> properties(shape, UNO_QUERY_THROW);
        properties->setPropertyValue("TextFitToSize", Any(drawing::TextFitToSizeType_AUTOFIT));
        properties->setPropertyValue(
            "ParaLineSpacing",
            Any(style::LineSpacing{style::LineSpacingMode::PROP, sal_Int16(body["lineSpacing"].toInt())}));
        properties->setPropertyValue("ParaBottomMargin", Any(sal_Int32(body["spaceAfter"].toInt())));

        const Reference<container::XIndexReplace> rules(properties->getPropertyValue("NumberingRules"),
                                                        UNO_QUERY_THROW);
        uno::Sequence<beans::PropertyValue> level;
        rules->getByIndex(0) >>= level;
        awt::FontDescriptor font;
        font.Name = toUno(mFont);
        const int indent = body["indent"].toInt();
        const std::pair<const char*, Any> bullet[] = {
            {"NumberingType", Any(style::NumberingType::CHAR_SPECIAL)},
            {"BulletChar", Any(toUno(body["bullet"].toString()))},
            {"BulletFont", Any(font)},
            {"BulletColor", Any(colour("accent"))},
            {"BulletRelSize", Any(sal_Int16(100))},
            {"LeftMargin", Any(sal_Int32(indent))},
            {"FirstLineOffset", Any(sal_Int32(-indent))},
        };
        for (const auto& [name, value] : bullet)
            setLevelProperty(level, name, value);
        rules->replaceByIndex(0, Any(level));
        // Set on the paragraphs themselves: the shape's own value is only
        // their default.
        const Reference<text::XTextCursor> cursor = Reference<text::XText>(shape, UNO_QUERY_THROW)->createTextCursor();
        cursor->gotoStart(false);
        cursor->gotoEnd(true);
        const Reference<beans::XPropertySet> paragraphs(cursor, UNO_QUERY_THROW);
        paragraphs->setPropertyValue("NumberingRules", Any(rules));
        paragraphs->setPropertyValue("NumberingLevel", Any(sal_Int16(0)));
        paragraphs->setPropertyValue("NumberingIsNumber", Any(true));
    }

    // Charts draw their series in the colours the drawings cover most,
    // white (the paper) left out.
    void writeChartColours()
    {
        std::vector<std::pair<double, sal_Int32>> byArea;
        for (const auto& [colour, area] : mCoverage)
            if ((colour & 0xFFFFFF) != 0xFFFFFF)
                byArea.emplace_back(area, colour);
        std::sort(byArea.begin(), byArea.end(), std::greater<>());
        QStringList names;
        for (const auto& [area, colour] : byArea)
            names << QColor(QRgb(colour)).name(QColor::HexRgb);
        DeckProperties::write(mDocument, DeckProperties::chartColours, names.join(QLatin1Char(' ')));
    }

    Palette palette() const
    {
        return {colour("dark"), colour("accent"), colour("highlight"), colour("muted"), colour("paper")};
    }

    QJsonObject mDescription;
    QList<PlanSection> mSections;
    Reference<lang::XComponent> mDocument;
    Reference<lang::XMultiServiceFactory> mFactory;
    Reference<drawing::XDrawPages> mPages;
    Reference<drawing::XDrawPages> mMasters;
    Reference<uno::XComponentContext> mContext;
    QString mWorkFolder;
    // The area the drawings fill in each colour.
    std::map<sal_Int32, double> mCoverage;
    int mWidth = 0;
    int mHeight = 0;
    QString mFont;
    // The company name's and the sections' titles' font.
    QString mTitleFont;
};

void buildDeck(EngineInstance& engine, const QJsonObject& description, const QList<PlanSection>& sections,
               const QString& outPath, const QString& workFolder)
{
    uno::Sequence<beans::PropertyValue> hidden(1);
    hidden.getArray()[0] = unoProperty("Hidden", Any(true));
    const Reference<frame::XComponentLoader> loader(engine.connection().desktop(), UNO_QUERY_THROW);
    const Reference<lang::XComponent> document =
        loader->loadComponentFromURL("private:factory/simpress", "_blank", 0, hidden);
    DeckBuilder(description, sections, document, engine.connection().context(), workFolder).build();

    keepShapeDescriptions(document);
    uno::Sequence<beans::PropertyValue> ppt(1);
    ppt.getArray()[0] = unoProperty("FilterName", Any(rtl::OUString("MS PowerPoint 97")));
    Reference<frame::XStorable>(document, UNO_QUERY_THROW)
        ->storeToURL(toUno(QUrl::fromLocalFile(QFileInfo(outPath).absoluteFilePath()).toString()), ppt);
    Reference<util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QList<PlanSection> sections = allSections();
    bool sectionCountRead = argc == 4;
    if (argc == 5) {
        const int count = QString::fromLocal8Bit(argv[4]).toInt(&sectionCountRead);
        sectionCountRead = sectionCountRead && count >= 0 && count <= sections.size();
        sections = sections.first(std::max(count, 0));
    }
    if (!sectionCountRead) {
        std::fprintf(stderr, "usage: make_template <description.json> <out.ppt> <work-folder> [<sections>]\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_template: cannot read %s\n", argv[1]);
        return 1;
    }
    const QJsonDocument description = QJsonDocument::fromJson(file.readAll());
    if (!description.isObject()) {
        std::fprintf(stderr, "make_template: %s is not a JSON object\n", argv[1]);
        return 1;
    }

    EngineSettings settings;
    settings.officeProgram = QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice.bin");
    settings.profileDir = QDir(QString::fromLocal8Bit(argv[3])).absoluteFilePath(QStringLiteral("engine-profile"));
    settings.pipeName = QStringLiteral("orvendale-template-%1").arg(QCoreApplication::applicationPid());
    settings.headless = true;
    try {
        const auto engine = EngineInstance::reach(settings, true);
        try {
            engineCall(QStringLiteral("Building the template deck"), [&] {
                buildDeck(*engine, description.object(), sections, QString::fromLocal8Bit(argv[2]),
                          QString::fromLocal8Bit(argv[3]));
            });
        } catch (...) {
            EngineInstance::endAllStartedHere();
            throw;
        }
        // The engine ends before this program does, by its pid if need be.
        EngineInstance::endAllStartedHere();
    } catch (const Failure& failure) {
        std::fprintf(stderr, "make_template: %s\n", qPrintable(failure.description()));
        return 1;
    }
    return 0;
}
