#pragma once

#include <QString>

#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <vector>

namespace css = com::sun::star;

// The shapes of a slide (or master or notes page) in drawing order, each
// attached to it and held while the caller uses them; see fetched_once.h.
// what names the page in a failure: "slide 3".
std::vector<css::uno::Reference<css::drawing::XShape>> slideShapes(
    const css::uno::Reference<css::drawing::XShapes>& page, const QString& what);
