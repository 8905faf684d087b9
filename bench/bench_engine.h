#pragma once

// What the engine benchmarks open with: a private display, a private engine
// instance on it and a folder for the decks, for as long as this lives.
#include "engine/uno/uno_engine.h"
#include "tests/support/private_engine.h"

#include <QTemporaryDir>

struct BenchEngine {
    PrivateDisplay display;
    PrivateEngine instance;
    QTemporaryDir folder;
    UnoEngine engine = instance.engine();
};
