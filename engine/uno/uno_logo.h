#pragma once

// The company's logo in a deck. A design marks where a logo goes with
// rectangles on its master pages that have no fill, no line and no text:
// invisible, and kept so in every format the template is saved in (a .ppt
// keeps no shape names). A design without them shows no logo.
#include <QString>

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

// Embeds the picture in file into every logo area of the document's master
// pages, on a white card that keeps a dark logo visible on a dark design, as
// large as fits with its aspect ratio kept; described by description for
// those who cannot see it. Throws Failure when the engine cannot read the
// picture.
void placeLogo(const css::uno::Reference<css::uno::XComponentContext>& context,
               const css::uno::Reference<css::lang::XComponent>& document, const QString& file,
               const QString& description);
