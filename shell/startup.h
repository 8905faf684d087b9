#pragma once

#include <QString>

class Clock;
class Random;
class UrlOpener;

namespace Startup {

// The title cut at blanks to at most 40 characters; one with no blank left is
// cut at 40 characters.
QString shortenedTitle(const QString& name);

// Sets the application title from the product name.
void setApplicationTitle();

// On about one start in a hundred, opens the maker's home page.
void maybeOpenHomePage(Clock& clock, Random& random, UrlOpener& urls);

}  // namespace Startup
