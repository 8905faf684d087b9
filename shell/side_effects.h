#pragma once

#include <QString>

// Side effects of the start-up procedures, kept behind small interfaces so
// that start-up runs in tests with fakes.

// Ends the program at once: no further event handler of any window runs.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
};

// Opens a web address in the desktop's browser, without waiting for it;
// throws Failure when no browser can be started.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void open(const QString& url) = 0;
};

// Time of day in seconds since midnight, single precision as the program
// uses it for seeding and pausing.
class Clock {
public:
    virtual ~Clock() = default;
    virtual float secondsSinceMidnight() = 0;
};

// A pseudo-random generator that can be re-seeded; re-seeding mixes the seed
// into the generator's state rather than restarting its sequence.
class Random {
public:
    virtual ~Random() = default;
    virtual void reseed(float seed) = 0;
    // Uniform in [0, 1).
    virtual double next() = 0;
};
