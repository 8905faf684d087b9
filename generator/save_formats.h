#pragma once

#include "engine/port/presentation_engine.h"

#include <QString>
#include <QStringList>

#include <optional>

// The file types a deck is saved in, the deck's own first.
QStringList saveFilters();

// Where a saved deck goes and in which format.
struct SaveTarget {
    QString fileName;
    SaveAsFileType format = SaveAsFileType::Presentation;
};

// The format follows the extension typed when it is one of the offered ones
// (whatever the selected type); otherwise the selected type's format is used
// and its extension added to the name.
SaveTarget saveTarget(const QString& typed, const QString& selectedFilter);

// The format a file name's extension says, or nothing for another one.
std::optional<SaveAsFileType> formatOfName(const QString& name);
