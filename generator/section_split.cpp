#include "generator/section_split.h"

#include <algorithm>
#include <cmath>

namespace SectionSplit {

namespace {

// The next number of lines to try: text shrinks about in proportion to its
// lines, so the lines that fit at the floor are about as many as were
// tried, times how far above or below the floor they showed.
int guess(int tried, float shownSize, int lowest, int highest)
{
    const int estimate = static_cast<int>(std::floor(tried * shownSize / kFloorSize));
    return std::clamp(estimate, lowest, highest);
}

}  // namespace

Result spread(const QStringList& lines, float shownSize, const SlideWriter& slides)
{
    Result result;
    QStringList rest = lines;
    float restSize = shownSize;
    while (restSize < kFloorSize && rest.size() > 1) {
        // The most lines that fit lie between one (a line always takes its
        // slide) and all but the last (all of them do not fit).
        int fits = 1;
        int tooMany = static_cast<int>(rest.size());
        int tried = tooMany;
        float triedSize = restSize;
        while (tooMany - fits > 1) {
            tried = guess(tried, triedSize, fits + 1, tooMany - 1);
            triedSize = slides.write(rest.first(tried));
            if (triedSize >= kFloorSize)
                fits = tried;
            else
                tooMany = tried;
        }
        if (tried != fits)
            slides.write(rest.first(fits));
        result.linesPerSlide << fits;
        rest = rest.mid(fits);
        if (!slides.addSlide()) {
            result.linesLeftOut = static_cast<int>(rest.size());
            return result;
        }
        restSize = slides.write(rest);
    }
    result.linesPerSlide << static_cast<int>(rest.size());
    return result;
}

}  // namespace SectionSplit
