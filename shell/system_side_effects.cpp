#include "shell/system_side_effects.h"

#include "shell/failure.h"

#include <QDesktopServices>
#include <QTime>
#include <QUrl>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <utility>

void SystemProgramEnd::endNow()
{
    // Every edit is already on disk, so nothing needs saving; leaving without
    // unwinding keeps other windows' handlers from running.
    if (auto steps = std::exchange(mLastSteps, nullptr))
        steps();
    std::fflush(nullptr);
    std::_Exit(0);
}

void DesktopUrlOpener::open(const QString& url)
{
    if (!QDesktopServices::openUrl(QUrl(url)))
        throw Failure(QStringLiteral("The web page %1 could not be opened: no web browser could be started.").arg(url));
}

float SystemClock::secondsSinceMidnight()
{
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void SystemRandom::reseed(float seed)
{
    mEngine.seed(mEngine() ^ std::bit_cast<uint32_t>(seed));
}

double SystemRandom::next()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(mEngine);
}
