#include "generator/section_split.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace SectionSplit {

namespace {

struct Part {
    int lines = 0;
    float size = 0;
};

// The next number of lines to try: text shrinks about in proportion to its
// lines, so the lines that fit at the floor are about as many as were
// tried, times how far above or below the floor they showed.
int guess(int tried, float shownSize, int lowest, int highest)
{
    const int estimate = static_cast<int>(std::floor(tried * shownSize / kFloorSize));
    return std::clamp(estimate, lowest, highest);
}

// The most lines from the first that show at the floor; one at least, which
// may show smaller. The rest, all of which show at restSize, do not fit.
Part mostThatFit(const QStringList& rest, float restSize, const Measure& measure)
{
    Part fits{1, 0};
    bool fitsMeasured = false;
    int tooMany = static_cast<int>(rest.size());
    int tried = tooMany;
    float triedSize = restSize;
    while (tooMany - fits.lines > 1) {
        tried = guess(tried, triedSize, fits.lines + 1, tooMany - 1);
        triedSize = measure(rest.first(tried));
        if (triedSize >= kFloorSize) {
            fits = {tried, triedSize};
            fitsMeasured = true;
        } else {
            tooMany = tried;
        }
    }
    if (!fitsMeasured)
        fits.size = measure(rest.first(1));
    return fits;
}

// Each slide filled with as many lines as show at the floor.
QList<Part> fullestFirst(const QStringList& lines, float shownSize, const Measure& measure)
{
    QList<Part> parts;
    qsizetype from = 0;
    float restSize = shownSize;
    while (restSize < kFloorSize && lines.size() - from > 1) {
        const Part part = mostThatFit(lines.sliced(from), restSize, measure);
        parts << part;
        from += part.lines;
        restSize = measure(lines.sliced(from));
    }
    parts << Part{static_cast<int>(lines.size() - from), restSize};
    return parts;
}

// The lines in parts of at most cap lines, each as many as show at the
// floor; nothing when that takes more than count parts.
std::optional<QList<Part>> capped(const QStringList& lines, int cap, qsizetype count, const Measure& measure)
{
    QList<Part> parts;
    qsizetype from = 0;
    while (from < lines.size()) {
        if (parts.size() == count)
            return std::nullopt;
        Part part{static_cast<int>(std::min<qsizetype>(cap, lines.size() - from)), 0};
        part.size = measure(lines.sliced(from, part.lines));
        while (part.size < kFloorSize && part.lines > 1) {
            --part.lines;
            part.size = measure(lines.sliced(from, part.lines));
        }
        parts << part;
        from += part.lines;
    }
    return parts;
}

}  // namespace

Plan plan(const QStringList& lines, float shownSize, const Measure& measure)
{
    if (shownSize >= kFloorSize || lines.size() < 2)
        return Plan{{static_cast<int>(lines.size())}, {0}};
    QList<Part> parts = fullestFirst(lines, shownSize, measure);
    // A line too long for a slide keeps the slide it has to itself, the
    // others as they are filled.
    const bool lineTooLong =
        std::any_of(parts.begin(), parts.end(), [](const Part& part) { return part.size < kFloorSize; });
    if (!lineTooLong) {
        // As few lines on the fullest slide as the same number of slides
        // allows: the fewest the lines could be shared out to first.
        const int fullest = std::max_element(parts.begin(), parts.end(), [](const Part& a, const Part& b) {
                                return a.lines < b.lines;
                            })->lines;
        for (int cap = static_cast<int>((lines.size() + parts.size() - 1) / parts.size()); cap < fullest; ++cap)
            if (const std::optional<QList<Part>> shared = capped(lines, cap, parts.size(), measure)) {
                parts = *shared;
                break;
            }
    }
    float smallest = 0;
    for (const Part& part : parts)
        if (part.size >= kFloorSize)
            smallest = smallest == 0 ? part.size : std::min(smallest, part.size);
    Plan result;
    for (const Part& part : parts) {
        result.linesPerSlide << part.lines;
        result.sizes << (part.size >= kFloorSize ? std::floor(smallest) : 0.0f);
    }
    return result;
}

}  // namespace SectionSplit
