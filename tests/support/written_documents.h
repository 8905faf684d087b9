#pragma once

// Word-processor documents for the import's tests, written by the engine
// itself from HTML that the test holds.
#include "engine/uno/engine_settings.h"

#include <QString>

// Writes the HTML into target in the format its name ends in (.docx, .odt,
// .doc, .rtf), locked with the password when one is given, by an engine on
// the settings' profile that ends before this returns. Throws Failure.
void writeDocument(const EngineSettings& settings, const QString& html, const QString& target,
                   const QString& password = {});
