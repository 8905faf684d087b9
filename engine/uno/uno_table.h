#pragma once

// The engine's own table object on a slide, filled with a table's cells in
// the deck's colours and fonts, and as many of its rows as the area holds.
#include "engine/port/presentation_engine.h"

#include <QStringList>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>

struct TableLook {
    sal_Int32 headerColour = 0;
    sal_Int32 headerTextColour = 0xFFFFFF;
    sal_Int32 textColour = 0;
    rtl::OUString fontName;
};

// Adds the table to the slide at position, as wide as size and at most as
// high (hundredths of a millimetre).
TableFit addTable(const css::uno::Reference<css::lang::XMultiServiceFactory>& document,
                  const css::uno::Reference<css::drawing::XDrawPage>& slide, const TableData& table,
                  const TableLook& look, css::awt::Point position, css::awt::Size size);

// Whether the shape is a table.
bool isTable(const css::uno::Reference<css::drawing::XShape>& shape);

// A table's rows as a screen reader says them: each row's cells, a comma
// apart, empty ones left out.
QStringList spokenRows(const css::uno::Reference<css::drawing::XShape>& table);
