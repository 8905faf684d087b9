#pragma once

// The engine's own chart object on a slide, filled with a chart's numbers
// and drawn in the deck's colours and fonts.
#include "engine/port/presentation_engine.h"

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <vector>

struct ChartLook {
    // Series colours, the first series' first.
    std::vector<sal_Int32> colours;
    rtl::OUString fontName;
    sal_Int32 textColour = 0;
};

// Adds the chart to the slide over the area given (hundredths of a
// millimetre).
void addChart(const css::uno::Reference<css::lang::XMultiServiceFactory>& document,
              const css::uno::Reference<css::drawing::XDrawPage>& slide, const ChartData& chart, const ChartLook& look,
              css::awt::Point position, css::awt::Size size);
