#pragma once

#include "platform.h"

#include <random>

// The real implementations of the platform interfaces.

class SystemProgramEnd : public ProgramEnd {
public:
    void endNow() override;
};

class DesktopUrlOpener : public UrlOpener {
public:
    void open(const QString& url) override;
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
