#pragma once

#include <QList>
#include <QStringList>

#include <functional>

// How a section's lines are spread over its slide and copies of it, so that
// its text shows at least at a floor size: whole lines only, as many on each
// slide as still show at the floor. A single line that does not fit at the
// floor takes a slide of its own and may show smaller.
namespace SectionSplit {

// Section text shows at least at this size, in points.
constexpr float kFloorSize = 18.0f;

struct SlideWriter {
    // Writes the lines into the body of the current slide, replacing what
    // it held, and tells the size in points they show at.
    std::function<float(const QStringList& lines)> write;
    // Makes a copy of the current slide right after it the current slide;
    // false when the deck has no room for another slide.
    std::function<bool()> addSlide;
};

struct Result {
    // The number of lines on each slide, in order.
    QList<int> linesPerSlide;
    // Lines left out because the deck had no room for another slide.
    int linesLeftOut = 0;
};

// Spreads the lines from the current slide on, which holds all of them
// already and shows them at shownSize.
Result spread(const QStringList& lines, float shownSize, const SlideWriter& slides);

}  // namespace SectionSplit
