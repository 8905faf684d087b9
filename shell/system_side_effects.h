#pragma once

#include "shell/side_effects.h"

#include <functional>
#include <random>

// The real implementations of the side-effect interfaces.

class SystemProgramEnd : public ProgramEnd {
public:
    // Steps that run as the program ends, before it leaves: ending what it
    // started and removing its temporary files. They must not run events.
    void beforeEnding(std::function<void()> steps) { mLastSteps = std::move(steps); }
    void endNow() override;

private:
    std::function<void()> mLastSteps;
};

class SystemClock : public Clock {
public:
    float secondsSinceMidnight() override;
};

class SystemRandom : public Random {
public:
    void reseed(float seed) override;
    double next() override;

private:
    std::mt19937_64 mEngine{std::random_device{}()};
};
