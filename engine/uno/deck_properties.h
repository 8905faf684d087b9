#pragma once

#include <QString>

#include <com/sun/star/lang/XComponent.hpp>

// Texts a deck carries among its document's own properties, which every
// format it is saved in keeps, the deck's own (.ppt) included.
namespace DeckProperties {

// The alternative texts of the deck's shapes, with their pages and places.
inline const QString alternativeTexts = QStringLiteral("Alternative texts");
// The locale name of the language the deck is written in.
inline const QString language = QStringLiteral("Language");
// The colours the deck's charts draw their series in, first to last, as
// "#RRGGBB" names separated by blanks; its template sets them.
inline const QString chartColours = QStringLiteral("Chart colours");

// The property's text; "" when the deck has none.
QString read(const css::uno::Reference<css::lang::XComponent>& document, const QString& name);
// Writes the property where its text changes; an empty text is not added.
void write(const css::uno::Reference<css::lang::XComponent>& document, const QString& name, const QString& text);

}  // namespace DeckProperties
