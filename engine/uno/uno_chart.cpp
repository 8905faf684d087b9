#include "engine/uno/uno_chart.h"

#include "engine/uno/uno_values.h"

#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/chart/ChartAxisPosition.hpp>
#include <com/sun/star/chart/ChartDataCaption.hpp>
#include <com/sun/star/chart/ChartLegendPosition.hpp>
#include <com/sun/star/chart/DataLabelPlacement.hpp>
#include <com/sun/star/chart/X3DDisplay.hpp>
#include <com/sun/star/chart/XAxisXSupplier.hpp>
#include <com/sun/star/chart/XAxisYSupplier.hpp>
#include <com/sun/star/chart/XChartDataArray.hpp>
#include <com/sun/star/chart/XChartDocument.hpp>
#include <com/sun/star/chart/XDiagram.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/LineStyle.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>
#include <vector>

using namespace css;
using namespace css::uno;

namespace {

// The class id the engine knows its chart objects by.
const rtl::OUString kChartClassId = "12dcae26-281f-416f-a234-c3086127382e";
// Every text of the chart shows at this size or larger on the slide.
constexpr float kTextSize = 18.0f;
constexpr sal_Int32 kLineColour = 0xD5DDE0;

Reference<beans::XPropertySet> properties(const Reference<XInterface>& object)
{
    return Reference<beans::XPropertySet>(object, UNO_QUERY_THROW);
}

rtl::OUString diagramType(ChartData::Kind kind)
{
    switch (kind) {
    case ChartData::Kind::Line: return "com.sun.star.chart.LineDiagram";
    case ChartData::Kind::Pie: return "com.sun.star.chart.PieDiagram";
    case ChartData::Kind::Columns:
    case ChartData::Kind::Bars: return "com.sun.star.chart.BarDiagram";
    }
    return "com.sun.star.chart.BarDiagram";
}

// One row a category, one column a series; a gap is the engine's own
// "not a number". A pie shows the first series alone.
void fillData(const Reference<chart::XChartDocument>& document, const ChartData& chart)
{
    const Reference<chart::XChartDataArray> data(document->getData(), UNO_QUERY_THROW);
    const double gap = data->getNotANumber();
    const qsizetype seriesCount = chart.kind == ChartData::Kind::Pie ? 1 : chart.series.size();
    Sequence<Sequence<double>> rows(static_cast<sal_Int32>(chart.categories.size()));
    Sequence<rtl::OUString> categories(rows.getLength());
    for (qsizetype c = 0; c < chart.categories.size(); ++c) {
        Sequence<double> row(static_cast<sal_Int32>(seriesCount));
        for (qsizetype s = 0; s < seriesCount; ++s) {
            const QList<std::optional<double>>& values = chart.series.at(s).values;
            row.getArray()[s] = c < values.size() && values.at(c) ? *values.at(c) : gap;
        }
        rows.getArray()[c] = row;
        categories.getArray()[c] = toUno(chart.categories.at(c));
    }
    Sequence<rtl::OUString> names(static_cast<sal_Int32>(seriesCount));
    for (qsizetype s = 0; s < seriesCount; ++s)
        names.getArray()[s] = toUno(chart.series.at(s).name);
    data->setData(rows);
    data->setRowDescriptions(categories);
    data->setColumnDescriptions(names);
}

void setText(const Reference<beans::XPropertySet>& part, const ChartLook& look)
{
    part->setPropertyValue("CharHeight", Any(kTextSize));
    part->setPropertyValue("CharFontName", Any(look.fontName));
    part->setPropertyValue("CharColor", Any(look.textColour));
}

// The value axis's number format: the sign typed with the numbers, and
// decimals where they were typed.
sal_Int32 numberFormat(const Reference<chart::XChartDocument>& document, const ChartData& chart)
{
    const auto quoted = [](const QString& text) {
        return text.isEmpty() ? QString() : QStringLiteral("\"%1\"").arg(text);
    };
    const rtl::OUString code =
        toUno(quoted(chart.valuePrefix) + (chart.hasDecimals ? QStringLiteral("#,##0.0#") : QStringLiteral("#,##0"))
              + quoted(chart.valueSuffix));
    const Reference<util::XNumberFormats> formats =
        Reference<util::XNumberFormatsSupplier>(document, UNO_QUERY_THROW)->getNumberFormats();
    const lang::Locale english("en", "US", "");
    const sal_Int32 key = formats->queryKey(code, english, false);
    return key >= 0 ? key : formats->addNew(code, english);
}

// The deck's colours in turn; each further round lighter, so that no two
// series or slices share one.
sal_Int32 colourAt(const std::vector<sal_Int32>& colours, qsizetype i)
{
    const sal_Int32 colour = colours.at(static_cast<size_t>(i) % colours.size());
    const double white = std::min(0.8, 0.45 * static_cast<double>(static_cast<size_t>(i) / colours.size()));
    const auto lighter = [&](int shift) {
        const int part = (colour >> shift) & 0xFF;
        return static_cast<sal_Int32>(std::lround(part + (255 - part) * white)) << shift;
    };
    return lighter(16) | lighter(8) | lighter(0);
}

void drawSeries(const Reference<chart::XDiagram>& diagram, const ChartData& chart, const ChartLook& look)
{
    const auto colour = [&](qsizetype i) { return colourAt(look.colours, i); };
    if (chart.kind == ChartData::Kind::Pie) {
        for (qsizetype c = 0; c < chart.categories.size(); ++c)
            properties(diagram->getDataPointProperties(static_cast<sal_Int32>(c), 0))
                ->setPropertyValue("FillColor", Any(colour(c)));
        // Each slice says its share, beside it.
        const Reference<beans::XPropertySet> slices = properties(diagram->getDataRowProperties(0));
        slices->setPropertyValue("DataCaption", Any(chart::ChartDataCaption::PERCENT));
        slices->setPropertyValue("LabelPlacement", Any(chart::DataLabelPlacement::OUTSIDE));
        setText(slices, look);
        return;
    }
    for (qsizetype s = 0; s < chart.series.size(); ++s) {
        const Reference<beans::XPropertySet> series =
            properties(diagram->getDataRowProperties(static_cast<sal_Int32>(s)));
        series->setPropertyValue("FillColor", Any(colour(s)));
        series->setPropertyValue("LineColor", Any(colour(s)));
        if (chart.kind == ChartData::Kind::Line)
            series->setPropertyValue("LineWidth", Any(sal_Int32(100)));
        else
            series->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    }
}

void drawAxes(const Reference<chart::XChartDocument>& document, const Reference<chart::XDiagram>& diagram,
              const ChartData& chart, const ChartLook& look)
{
    const Reference<beans::XPropertySet> categories =
        Reference<chart::XAxisXSupplier>(diagram, UNO_QUERY_THROW)->getXAxis();
    const Reference<beans::XPropertySet> values =
        Reference<chart::XAxisYSupplier>(diagram, UNO_QUERY_THROW)->getYAxis();
    setText(categories, look);
    setText(values, look);
    // Quiet lines: the axes and the value grid in a light grey.
    categories->setPropertyValue("LineColor", Any(kLineColour));
    values->setPropertyValue("LineColor", Any(kLineColour));
    properties(Reference<chart::XAxisYSupplier>(diagram, UNO_QUERY_THROW)->getYMainGrid())
        ->setPropertyValue("LineColor", Any(kLineColour));
    // Bars list the categories from the top down, in the order typed, with
    // the value axis kept at the foot.
    if (chart.kind == ChartData::Kind::Bars) {
        categories->setPropertyValue("ReverseDirection", Any(true));
        values->setPropertyValue("CrossoverPosition", Any(chart::ChartAxisPosition_END));
    }
    values->setPropertyValue("LinkNumberFormatToSource", Any(false));
    values->setPropertyValue("NumberFormat", Any(numberFormat(document, chart)));
}

// A legend names the series, or a pie's slices.
void drawLegend(const Reference<chart::XChartDocument>& document, const ChartData& chart, const ChartLook& look)
{
    const Reference<beans::XPropertySet> settings = properties(document);
    settings->setPropertyValue("HasMainTitle", Any(false));
    const bool legend = chart.series.size() > 1 || chart.kind == ChartData::Kind::Pie;
    settings->setPropertyValue("HasLegend", Any(legend));
    if (!legend)
        return;
    const Reference<beans::XPropertySet> key = properties(document->getLegend());
    setText(key, look);
    key->setPropertyValue("Alignment", Any(chart::ChartLegendPosition_BOTTOM));
    key->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    key->setPropertyValue("FillStyle", Any(drawing::FillStyle_NONE));
}

// The slide shows through: no wall behind the plot, no frame around it.
void showSlideThrough(const Reference<chart::XChartDocument>& document, const Reference<chart::XDiagram>& diagram,
                      const ChartData& chart)
{
    std::vector<Reference<beans::XPropertySet>> backgrounds = {properties(document->getArea())};
    if (chart.kind != ChartData::Kind::Pie)
        backgrounds.push_back(properties(Reference<chart::X3DDisplay>(diagram, UNO_QUERY_THROW)->getWall()));
    for (const Reference<beans::XPropertySet>& background : backgrounds) {
        background->setPropertyValue("FillStyle", Any(drawing::FillStyle_NONE));
        background->setPropertyValue("LineStyle", Any(drawing::LineStyle_NONE));
    }
}

}  // namespace

void addChart(const Reference<lang::XMultiServiceFactory>& document, const Reference<drawing::XDrawPage>& slide,
              const ChartData& chart, const ChartLook& look, awt::Point position, awt::Size size)
{
    const Reference<drawing::XShape> shape(document->createInstance("com.sun.star.drawing.OLE2Shape"), UNO_QUERY_THROW);
    slide->add(shape);
    shape->setPosition(position);
    shape->setSize(size);
    properties(shape)->setPropertyValue("CLSID", Any(kChartClassId));
    properties(shape)->setPropertyValue("Description", Any(toUno(chart.description)));
    const Reference<chart::XChartDocument> model(properties(shape)->getPropertyValue("Model"), UNO_QUERY_THROW);
    // The chart draws once, when it is complete; an engine gone meanwhile
    // has nothing left to draw.
    const Reference<frame::XModel> frameModel(model, UNO_QUERY_THROW);
    frameModel->lockControllers();
    const auto unlock = qScopeGuard([&] {
        try {
            frameModel->unlockControllers();
        } catch (const uno::Exception&) {
        }
    });
    model->setDiagram(Reference<chart::XDiagram>(
        Reference<lang::XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(diagramType(chart.kind)),
        UNO_QUERY_THROW));
    const Reference<chart::XDiagram> diagram = model->getDiagram();
    if (chart.kind == ChartData::Kind::Bars)
        properties(diagram)->setPropertyValue("Vertical", Any(true));
    fillData(model, chart);
    drawSeries(diagram, chart, look);
    if (chart.kind != ChartData::Kind::Pie)
        drawAxes(model, diagram, chart, look);
    drawLegend(model, chart, look);
    showSlideThrough(model, diagram, chart);
}
