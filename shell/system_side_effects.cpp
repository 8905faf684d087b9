#include "shell/system_side_effects.h"

#include <QTime>

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
