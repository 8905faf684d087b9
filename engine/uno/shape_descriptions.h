#pragma once

#include <com/sun/star/lang/XComponent.hpp>

// The deck's own format (.ppt) drops what the shapes' descriptions
// (alternative texts) say, while it keeps the document's own properties. So a
// deck also keeps its shapes' descriptions in a property of the document,
// each with the page and the place of its shape, and a deck opened gives
// them back to its shapes: a copy saved as .pptx, .odp or PDF then carries
// them whatever format the deck was opened from.

// Writes the descriptions of the document's shapes, on its slides and its
// master pages, into the document's property; before the document is stored.
void keepShapeDescriptions(const css::uno::Reference<css::lang::XComponent>& document);

// Gives each shape described in the document's property, found on its page
// at its place, that description; a shape no longer there is left out.
void restoreShapeDescriptions(const css::uno::Reference<css::lang::XComponent>& document);
