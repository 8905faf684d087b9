#pragma once

#include <QStringList>

// "orvendale --export deck.pdf [plan.orvendale]": makes the deck from the
// plan file, or from the stored plan, with no window and no display, in
// the format the name's extension says. Returns the exit code: 0 made, 1
// the plan cannot be read, 2 the engine failed, 3 the file cannot be
// written; 130 when interrupted.
int exportDeck(const QString& target, const QString& planFile);
