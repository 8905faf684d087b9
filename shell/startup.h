#pragma once

#include <QString>

class QWidget;
class Skin;
class Clock;
class Random;
class UrlOpener;

namespace Startup {

// When the skin file x/o.cjs lies in the program folder: recolours the
// window and its plain controls and panels to the button face colour, then
// drives the skin. Without the file nothing changes.
void applySkin(QWidget& window, Skin& skin, const QString& programFolder);

// The title cut at blanks to at most 40 characters; one with no blank left is
// cut at 40 characters.
QString shortenedTitle(const QString& name);

// Sets the application title from the product name.
void setApplicationTitle();

// On about one start in a hundred, opens the maker's home page.
void maybeOpenHomePage(Clock& clock, Random& random, UrlOpener& urls);

}  // namespace Startup
