#pragma once

#include <QString>

#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

// The language a deck is written in, which its PDF names for screen
// readers. The deck's own format (.ppt) drops it, so the deck also keeps it
// among its document's properties, and a deck opened takes it back.

// Sets the language by its locale name ("de_DE", "pt-BR"); a name of no
// language ("C") leaves the deck's as it is.
void setDeckLanguage(const css::uno::Reference<css::lang::XComponent>& document, const QString& locale);

// Gives the deck the language it keeps, where it keeps one.
void restoreDeckLanguage(const css::uno::Reference<css::lang::XComponent>& document);

// Makes the engine's own locale setting the deck's language, where the deck
// keeps one: the engine names that setting, not the document's language, as
// a PDF's language. The engine keeps it after, as it works in the plan's
// language from then on; a setting already right is not written again.
void engineInDeckLanguage(const css::uno::Reference<css::uno::XComponentContext>& engine,
                          const css::uno::Reference<css::lang::XComponent>& document);
