#include "tools/section_drawings.h"

#include "engine/uno/uno_values.h"

#include <QDir>
#include <QHash>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/CircleKind.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/GraphicExportFilter.hpp>
#include <com/sun/star/drawing/LineStyle.hpp>
#include <com/sun/star/drawing/PointSequenceSequence.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <stdexcept>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

Reference<beans::XPropertySet> properties(const Reference<drawing::XShape>& shape)
{
    return Reference<beans::XPropertySet>(shape, UNO_QUERY_THROW);
}

void paint(const Reference<drawing::XShape>& shape, sal_Int32 colour)
{
    properties(shape)->setPropertyValue("FillStyle", Any(drawing::FillStyle_SOLID));
    properties(shape)->setPropertyValue("FillColor", Any(colour));
    properties(shape)->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
}

}  // namespace

QString SectionDrawings::description(const QString& kind)
{
    static const QHash<QString, QString> descriptions{
        {QStringLiteral("flag"), QStringLiteral("A flag on a pole")},
        {QStringLiteral("people"), QStringLiteral("Three people side by side")},
        {QStringLiteral("pie"), QStringLiteral("A pie cut into three slices")},
        {QStringLiteral("bulb"), QStringLiteral("A light bulb")},
        {QStringLiteral("layers"), QStringLiteral("Three layers stacked on one another")},
        {QStringLiteral("versus"), QStringLiteral("Pairs of bars compared side by side")},
        {QStringLiteral("target"), QStringLiteral("An arrow in the centre of a target")},
        {QStringLiteral("chart"), QStringLiteral("Rising columns with a line climbing above them")},
        {QStringLiteral("coins"), QStringLiteral("Three stacks of coins, each taller than the last")},
        {QStringLiteral("scale"), QStringLiteral("A balance scale")},
        {QStringLiteral("checklist"), QStringLiteral("A checklist with two items ticked")},
    };
    const auto found = descriptions.constFind(kind);
    if (found == descriptions.constEnd())
        throw std::invalid_argument("the description names an unknown drawing: " + kind.toStdString());
    return *found;
}

void SectionDrawings::draw(const Reference<drawing::XDrawPage>& slide, const QString& kind, Box box)
{
    const QString shows = description(kind);
    const Reference<drawing::XShape> group(mFactory->createInstance("com.sun.star.drawing.GroupShape"),
                                           UNO_QUERY_THROW);
    slide->add(group);
    mGroup.set(group, UNO_QUERY_THROW);
    mSide = std::min(box.width, box.height);
    mLeft = box.x + (box.width - mSide) / 2;
    mTop = box.y + (box.height - mSide) / 2;
    drawShapes(kind);
    replaceByPicture(slide, shows);
}

void SectionDrawings::replaceByPicture(const Reference<drawing::XDrawPage>& slide, const QString& description)
{
    const Reference<drawing::XShape> group(mGroup, UNO_QUERY_THROW);
    const rtl::OUString url = fileUrl(QDir(mWorkFolder).filePath(QStringLiteral("drawing.emf")));
    // A metafile keeps the drawing a vector picture in every format the deck
    // is saved in, the deck's own included.
    const Reference<drawing::XGraphicExportFilter> exporter = drawing::GraphicExportFilter::create(mContext);
    exporter->setSourceDocument(Reference<lang::XComponent>(group, UNO_QUERY_THROW));
    uno::Sequence<beans::PropertyValue> target(2);
    target.getArray()[0] = unoProperty("URL", Any(url));
    target.getArray()[1] = unoProperty("MediaType", Any(rtl::OUString("image/x-emf")));
    exporter->filter(target);

    uno::Sequence<beans::PropertyValue> source(1);
    source.getArray()[0] = unoProperty("URL", Any(url));
    const Reference<graphic::XGraphic> graphic = graphic::GraphicProvider::create(mContext)->queryGraphic(source);
    const Reference<drawing::XShape> picture(mFactory->createInstance("com.sun.star.drawing.GraphicObjectShape"),
                                             UNO_QUERY_THROW);
    slide->add(picture);
    picture->setPosition(group->getPosition());
    picture->setSize(group->getSize());
    properties(picture)->setPropertyValue("Graphic", Any(graphic));
    properties(picture)->setPropertyValue("Description", Any(toUno(description)));
    slide->remove(group);
    mGroup.clear();
}

void SectionDrawings::drawShapes(const QString& kind)
{
    const auto& c = mColours;
    if (kind == QLatin1String("flag")) {
        ellipse(14, 88, 40, 8, c.muted);
        rectangle(31, 8, 5, 84, c.dark);
        polygon({{36, 10}, {88, 26}, {36, 42}}, c.accent);
        polygon({{36, 18}, {62, 26}, {36, 34}}, c.highlight);
    } else if (kind == QLatin1String("people")) {
        for (int i = 0; i < 3; ++i) {
            const double centre = 20 + 30 * i;
            const sal_Int32 colour = i == 1 ? c.accent : c.dark;
            ellipse(centre - 10, 22, 20, 20, colour);
            rectangle(centre - 15, 46, 30, 40, colour, 10);
        }
        rectangle(5, 88, 90, 4, c.highlight);
    } else if (kind == QLatin1String("pie")) {
        ellipse(8, 8, 84, 84, c.dark);
        pieSlice(8, 8, 84, 0, 100, c.accent);
        pieSlice(8, 8, 84, 100, 150, c.highlight);
    } else if (kind == QLatin1String("bulb")) {
        ellipse(22, 4, 56, 56, c.highlight);
        rectangle(37, 56, 26, 14, c.highlight);
        rectangle(36, 72, 28, 6, c.dark);
        rectangle(38, 80, 24, 6, c.dark);
        rectangle(43, 88, 14, 5, c.dark);
        polyline({{44, 52}, {44, 36}, {50, 30}, {56, 36}, {56, 52}}, c.dark, 120);
    } else if (kind == QLatin1String("layers")) {
        polygon({{50, 58}, {92, 72}, {50, 86}, {8, 72}}, c.dark);
        polygon({{50, 38}, {92, 52}, {50, 66}, {8, 52}}, c.accent);
        polygon({{50, 18}, {92, 32}, {50, 46}, {8, 32}}, c.highlight);
    } else if (kind == QLatin1String("versus")) {
        const double ours[] = {40, 62, 80};
        const double theirs[] = {55, 45, 38};
        for (int i = 0; i < 3; ++i) {
            rectangle(8 + 30 * i, 90 - ours[i], 11, ours[i], c.accent);
            rectangle(20 + 30 * i, 90 - theirs[i], 11, theirs[i], c.muted);
        }
        rectangle(4, 90, 92, 3, c.dark);
    } else if (kind == QLatin1String("target")) {
        ellipse(6, 6, 88, 88, c.dark);
        ellipse(18, 18, 64, 64, c.paper);
        ellipse(29, 29, 42, 42, c.accent);
        ellipse(40, 40, 20, 20, c.highlight);
        polyline({{92, 8}, {52, 48}}, c.dark, 200);
        polygon({{78, 6}, {94, 6}, {94, 22}}, c.dark);
    } else if (kind == QLatin1String("chart")) {
        const double heights[] = {22, 34, 48, 66};
        for (int i = 0; i < 4; ++i)
            rectangle(12 + 21 * i, 88 - heights[i], 15, heights[i], c.accent);
        rectangle(6, 88, 90, 3, c.dark);
        rectangle(6, 8, 3, 83, c.dark);
        polyline({{14, 56}, {35, 44}, {56, 32}, {86, 10}}, c.highlight, 250);
    } else if (kind == QLatin1String("coins")) {
        const int stacks[] = {3, 5, 7};
        for (int stack = 0; stack < 3; ++stack)
            for (int coin = 0; coin < stacks[stack]; ++coin)
                ellipse(6 + 31 * stack, 80 - 10 * coin, 26, 12, coin % 2 ? c.highlight : c.dark);
    } else if (kind == QLatin1String("scale")) {
        polygon({{36, 94}, {64, 94}, {50, 80}}, c.dark);
        rectangle(48, 20, 4, 62, c.dark);
        rectangle(8, 20, 84, 4, c.dark);
        polyline({{10, 24}, {4, 56}}, c.muted, 80);
        polyline({{10, 24}, {34, 56}}, c.muted, 80);
        polyline({{90, 24}, {66, 48}}, c.muted, 80);
        polyline({{90, 24}, {96, 48}}, c.muted, 80);
        ellipse(2, 54, 34, 8, c.accent);
        ellipse(64, 46, 34, 8, c.highlight);
        ellipse(46, 12, 8, 8, c.highlight);
    } else if (kind == QLatin1String("checklist")) {
        for (int row = 0; row < 3; ++row) {
            const double top = 12 + 28 * row;
            rectangle(6, top, 18, 18, c.dark, 3);
            rectangle(9, top + 3, 12, 12, c.paper, 2);
            rectangle(32, top + 6, 60, 6, row == 2 ? c.muted : c.accent, 3);
            if (row < 2)
                polyline({{9, top + 8}, {15, top + 15}, {27, top - 2}}, c.highlight, 250);
        }
    }
}

Reference<drawing::XShape> SectionDrawings::add(const char* service, double x, double y, double width, double height)
{
    const Reference<drawing::XShape> shape(mFactory->createInstance(rtl::OUString::createFromAscii(service)),
                                           UNO_QUERY_THROW);
    mGroup->add(shape);
    shape->setPosition(awt::Point(mLeft + at(x), mTop + at(y)));
    shape->setSize(awt::Size(std::max(at(width), 1), std::max(at(height), 1)));
    return shape;
}

void SectionDrawings::fill(const Reference<drawing::XShape>& shape, sal_Int32 colour)
{
    paint(shape, colour);
    const awt::Size size = shape->getSize();
    mCoverage[colour] += double(size.Width) * size.Height;
}

void SectionDrawings::rectangle(double x, double y, double width, double height, sal_Int32 colour, int cornerRadius)
{
    const auto shape = add("com.sun.star.drawing.RectangleShape", x, y, width, height);
    fill(shape, colour);
    properties(shape)->setPropertyValue("CornerRadius", Any(sal_Int32(at(cornerRadius))));
}

void SectionDrawings::ellipse(double x, double y, double width, double height, sal_Int32 colour)
{
    fill(add("com.sun.star.drawing.EllipseShape", x, y, width, height), colour);
}

void SectionDrawings::pieSlice(double x, double y, double size, int fromDegrees, int toDegrees, sal_Int32 colour)
{
    const auto shape = add("com.sun.star.drawing.EllipseShape", x, y, size, size);
    fill(shape, colour);
    properties(shape)->setPropertyValue("CircleKind", Any(drawing::CircleKind_SECTION));
    properties(shape)->setPropertyValue("CircleStartAngle", Any(sal_Int32(fromDegrees * 100)));
    properties(shape)->setPropertyValue("CircleEndAngle", Any(sal_Int32(toDegrees * 100)));
}

Reference<drawing::XShape> SectionDrawings::addPath(const char* service, Points points)
{
    drawing::PointSequenceSequence path(1);
    path.getArray()[0].realloc(static_cast<sal_Int32>(points.size()));
    int i = 0;
    for (const auto& [x, y] : points)
        path.getArray()[0].getArray()[i++] = awt::Point(mLeft + at(x), mTop + at(y));
    const Reference<drawing::XShape> shape(mFactory->createInstance(rtl::OUString::createFromAscii(service)),
                                           UNO_QUERY_THROW);
    mGroup->add(shape);
    properties(shape)->setPropertyValue("PolyPolygon", Any(path));
    return shape;
}

void SectionDrawings::polygon(Points points, sal_Int32 colour)
{
    fill(addPath("com.sun.star.drawing.PolyPolygonShape", points), colour);
}

void SectionDrawings::polyline(Points points, sal_Int32 colour, int width)
{
    const auto shape = addPath("com.sun.star.drawing.PolyLineShape", points);
    properties(shape)->setPropertyValue("LineStyle", Any(drawing::LineStyle_SOLID));
    properties(shape)->setPropertyValue("LineColor", Any(colour));
    properties(shape)->setPropertyValue("LineWidth", Any(sal_Int32(at(width / 100.0))));
}
