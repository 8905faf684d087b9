#pragma once

#include "shell/export_contract.h"

#include <QStringList>

// "orvendale --export deck.pdf [plan.orvendale]": makes the deck from the
// plan file, or from the stored plan, with no window and no display, in
// the format the name's extension says. Returns how it ended.
ExportExit exportDeck(const QString& target, const QString& planFile);
