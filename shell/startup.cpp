#include "shell/startup.h"

#include "shell/back_colors.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/side_effects.h"
#include "shell/skin.h"

#include <QFileInfo>

namespace Startup {

namespace {
constexpr int kMaxTitleLength = 40;
constexpr int kHomePageDraw = 7;
}  // namespace

void applySkin(QWidget& window, Skin& skin, const QString& programFolder)
{
    const QString path = Product::besideProgram(programFolder, QStringLiteral("x/o.cjs"));
    if (!QFileInfo(path).isFile())
        return;
    BackColors::setSkinBackColors(window);
    skin.loadSkin(path, QString());
    skin.setOptions(skin.options() | Skin::StylePopups);
    skin.setApplyToDialogs(true);
    skin.setEnabled(true);
    skin.applyWindow(window);
}

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
