#include "shell/startup.h"

#include "shell/product.h"
#include "shell/side_effects.h"

namespace Startup {

namespace {
constexpr int kMaxTitleLength = 40;
constexpr int kHomePageDraw = 7;
}  // namespace

QString shortenedTitle(const QString& name)
{
    QString title = name;
    while (title.size() > kMaxTitleLength) {
        const qsizetype lastBlank = title.lastIndexOf(QLatin1Char(' '));
        if (lastBlank < 0)
            return title.left(kMaxTitleLength);
        title.truncate(lastBlank);
    }
    return title;
}

void setApplicationTitle()
{
    Product::setApplicationTitleText(shortenedTitle(Product::name));
}

void maybeOpenHomePage(Clock& clock, Random& random, UrlOpener& urls)
{
    random.reseed(clock.secondsSinceMidnight());
    const int draw = static_cast<int>(random.next() * 100) + 1;
    if (draw == kHomePageDraw)
        urls.open(Product::homePageUrl);
}

}  // namespace Startup
