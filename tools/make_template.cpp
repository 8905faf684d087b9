// Builds the business plan template deck through the presentation engine.
//
//     make_template <description.json> <out.ppt> <work-folder>
//
// The description names the page size, font, colours and the texts of the
// twelve slides. Slide 1 holds the company name then the plan title; every
// other slide its section's title then a body text shape for bullet points.
// Decoration lives on two master pages, so each slide's own shapes are just
// those text shapes, in that order.
#include "engine_instance.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/LineStyle.hpp>
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
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <cstdio>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

constexpr sal_Int16 kTitleLayout = 0;         // title and subtitle
constexpr sal_Int16 kTitleContentLayout = 1;  // title and bulleted body
constexpr float kBold = 150.0f;

struct Box {
    int x, y, width, height;
};

class DeckBuilder {
public:
    DeckBuilder(const QJsonObject& description, Reference<lang::XComponent> document)
        : mDescription(description),
          mDocument(std::move(document)),
          mFactory(mDocument, UNO_QUERY_THROW),
          mPages(Reference<drawing::XDrawPagesSupplier>(mDocument, UNO_QUERY_THROW)->getDrawPages()),
          mMasters(Reference<drawing::XMasterPagesSupplier>(mDocument, UNO_QUERY_THROW)->getMasterPages())
    {
        const QJsonObject page = description["page"].toObject();
        mWidth = page["width"].toInt();
        mHeight = page["height"].toInt();
        mFont = description["font"].toString();
    }

    void build()
    {
        const QJsonArray sections = mDescription["sections"].toArray();
        while (mPages->getCount() < 1 + sections.size())
            mPages->insertNewByIndex(mPages->getCount() - 1);
        Reference<beans::XPropertySet>(mPages->getByIndex(0), UNO_QUERY_THROW)->setPropertyValue("Width", Any(sal_Int32(mWidth)));
        Reference<beans::XPropertySet>(mPages->getByIndex(0), UNO_QUERY_THROW)->setPropertyValue("Height", Any(sal_Int32(mHeight)));

        const auto sectionMaster = page(mMasters, 0);
        const auto titleMaster = Reference<drawing::XDrawPage>(mMasters->insertNewByIndex(1), UNO_QUERY_THROW);
        decorateSectionMaster(sectionMaster);
        decorateTitleMaster(titleMaster);

        buildTitleSlide(titleMaster);
        for (int i = 0; i < sections.size(); ++i)
            buildSectionSlide(i + 2, sections.at(i).toObject(), sectionMaster);
    }

private:
    static Reference<drawing::XDrawPage> page(const Reference<drawing::XDrawPages>& pages, int index)
    {
        return Reference<drawing::XDrawPage>(pages->getByIndex(index), UNO_QUERY_THROW);
    }

    sal_Int32 colour(const char* name) const
    {
        return static_cast<sal_Int32>(QColor(mDescription["colours"].toObject()[name].toString()).rgb() & 0xffffff);
    }

    Reference<drawing::XShape> addShape(const Reference<drawing::XDrawPage>& target, const char* service, Box box)
    {
        const Reference<drawing::XShape> shape(mFactory->createInstance(rtl::OUString::createFromAscii(service)), UNO_QUERY_THROW);
        target->add(shape);
        shape->setPosition(awt::Point(box.x, box.y));
        shape->setSize(awt::Size(box.width, box.height));
        return shape;
    }

    void addPanel(const Reference<drawing::XDrawPage>& target, Box box, sal_Int32 fill)
    {
        const Reference<beans::XPropertySet> panel(addShape(target, "com.sun.star.drawing.RectangleShape", box), UNO_QUERY_THROW);
        panel->setPropertyValue("FillStyle", Any(drawing::FillStyle_SOLID));
        panel->setPropertyValue("FillColor", Any(fill));
        panel->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    }

    void addLabel(const Reference<drawing::XDrawPage>& target, Box box, const QString& text, float size, sal_Int32 ink)
    {
        const Reference<drawing::XShape> label = addShape(target, "com.sun.star.drawing.TextShape", box);
        Reference<text::XText>(label, UNO_QUERY_THROW)->setString(toUno(text));
        style(label, size, ink, false, drawing::TextVerticalAdjust_CENTER);
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
        const int band = mHeight * 19 / 100;
        addPanel(master, {0, 0, mWidth, band}, colour("dark"));
        addPanel(master, {0, band, mWidth, 120}, colour("highlight"));
        addPanel(master, {1500, mHeight - 1050, 1400, 80}, colour("accent"));
        addLabel(master, {1500, mHeight - 950, 16000, 700},
                 mDescription["sectionSlide"].toObject()["footer"].toString(), 10, colour("muted"));
    }

    void decorateTitleMaster(const Reference<drawing::XDrawPage>& master)
    {
        const int panel = mWidth * 30 / 100;
        addPanel(master, {0, 0, mWidth, mHeight}, colour("dark"));
        addPanel(master, {mWidth - panel, 0, panel, mHeight}, colour("accent"));
        // Three rising bars, the program's own mark.
        const int barWidth = panel / 7;
        const int baseline = mHeight * 78 / 100;
        for (int i = 0; i < 3; ++i) {
            const int height = mHeight * (16 + 12 * i) / 100;
            addPanel(master, {mWidth - panel + barWidth * (1 + 2 * i), baseline - height, barWidth, height},
                     colour("paper"));
        }
        addPanel(master, {1500, mHeight * 58 / 100, 3600, 160}, colour("highlight"));
        addLabel(master, {1500, mHeight - 1300, 16000, 700},
                 mDescription["titleSlide"].toObject()["footer"].toString(), 11, colour("onDarkMuted"));
    }

    void placeText(const Reference<drawing::XShape>& shape, Box box, const QString& text, float size,
                   sal_Int32 ink, bool bold, drawing::TextVerticalAdjust vertical)
    {
        shape->setPosition(awt::Point(box.x, box.y));
        shape->setSize(awt::Size(box.width, box.height));
        Reference<text::XText>(shape, UNO_QUERY_THROW)->setString(toUno(text));
        style(shape, size, ink, bold, vertical);
    }

    Reference<drawing::XDrawPage> prepareSlide(int number, sal_Int16 layout, const Reference<drawing::XDrawPage>& master)
    {
        const Reference<drawing::XDrawPage> slide = page(mPages, number - 1);
        Reference<drawing::XMasterPageTarget>(slide, UNO_QUERY_THROW)->setMasterPage(master);
        Reference<beans::XPropertySet>(slide, UNO_QUERY_THROW)->setPropertyValue("Layout", Any(layout));
        return slide;
    }

    void buildTitleSlide(const Reference<drawing::XDrawPage>& master)
    {
        const auto slide = prepareSlide(1, kTitleLayout, master);
        const QJsonObject title = mDescription["titleSlide"].toObject();
        const int textWidth = mWidth * 62 / 100;
        placeText(Reference<drawing::XShape>(slide->getByIndex(0), UNO_QUERY_THROW),
                  {1500, mHeight * 24 / 100, textWidth, mHeight * 32 / 100},
                  title["company"].toObject()["text"].toString(), title["company"].toObject()["size"].toInt(),
                  colour("onDark"), true, drawing::TextVerticalAdjust_BOTTOM);
        placeText(Reference<drawing::XShape>(slide->getByIndex(1), UNO_QUERY_THROW),
                  {1500, mHeight * 62 / 100, textWidth, mHeight * 22 / 100},
                  title["plan"].toObject()["text"].toString(), title["plan"].toObject()["size"].toInt(),
                  colour("onDarkMuted"), false, drawing::TextVerticalAdjust_TOP);
    }

    void buildSectionSlide(int number, const QJsonObject& section, const Reference<drawing::XDrawPage>& master)
    {
        const auto slide = prepareSlide(number, kTitleContentLayout, master);
        const QJsonObject look = mDescription["sectionSlide"].toObject();
        const int band = mHeight * 19 / 100;
        // The caption keeps its doubled ampersand in the description; the
        // slide shows one.
        const QString title = section["title"].toString().replace(QStringLiteral("&&"), QStringLiteral("&"));
        placeText(Reference<drawing::XShape>(slide->getByIndex(0), UNO_QUERY_THROW),
                  {1500, 300, mWidth - 3000, band - 600}, title, look["title"].toObject()["size"].toInt(),
                  colour("onDark"), true, drawing::TextVerticalAdjust_CENTER);
        placeText(Reference<drawing::XShape>(slide->getByIndex(1), UNO_QUERY_THROW),
                  {1500, band + 900, mWidth - 3000, mHeight - band - 2400}, section["placeholder"].toString(),
                  look["body"].toObject()["size"].toInt(), colour("ink"), false, drawing::TextVerticalAdjust_TOP);
    }

    QJsonObject mDescription;
    Reference<lang::XComponent> mDocument;
    Reference<lang::XMultiServiceFactory> mFactory;
    Reference<drawing::XDrawPages> mPages;
    Reference<drawing::XDrawPages> mMasters;
    int mWidth = 0;
    int mHeight = 0;
    QString mFont;
};

void buildDeck(EngineInstance& engine, const QJsonObject& description, const QString& outPath)
{
    uno::Sequence<beans::PropertyValue> hidden(1);
    hidden.getArray()[0] = unoProperty("Hidden", Any(true));
    const Reference<frame::XComponentLoader> loader(engine.connection().desktop(), UNO_QUERY_THROW);
    const Reference<lang::XComponent> document =
        loader->loadComponentFromURL("private:factory/simpress", "_blank", 0, hidden);
    DeckBuilder(description, document).build();

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
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_template <description.json> <out.ppt> <work-folder>\n");
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
            engineCall(QStringLiteral("Building the template deck"),
                       [&] { buildDeck(*engine, description.object(), QString::fromLocal8Bit(argv[2])); });
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
