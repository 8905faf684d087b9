#pragma once

#include <QList>
#include <QStringList>

#include <functional>

// How a section's lines are shared out over its slide and copies of it, so
// that its text shows at least at a floor size: whole lines only, on as few
// slides as show them at the floor, in parts of about as many lines each,
// all at one size. A single line that does not fit at the floor takes a
// slide of its own and may show smaller.
namespace SectionSplit {

// Section text shows at least at this size, in points.
constexpr float kFloorSize = 18.0f;

// Writes the lines into the section's body, replacing what it held, and
// tells the size in points they show at there.
using Measure = std::function<float(const QStringList& lines)>;

struct Plan {
    // The number of lines on each slide, in order.
    QList<int> linesPerSlide;
    // The size, in whole points, each slide's text is set to so that the
    // parts look alike: the largest at which each of them shows whole. 0
    // for a slide that keeps the size its text shows at: the one slide of a
    // section that fits it, a line too long for a slide.
    QList<float> sizes;
};

// Plans the slides of the lines, which show at shownSize all on one slide.
Plan plan(const QStringList& lines, float shownSize, const Measure& measure);

}  // namespace SectionSplit
