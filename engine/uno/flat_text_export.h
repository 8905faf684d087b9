#pragma once

#include <QString>

class EngineInstance;

// A word-processor document read by the engine's word processor and written
// as flat OpenDocument text, safely: hidden and read only, with no macro
// run, no link updated, nothing fetched and no question asked (a request
// for a password is declined and told as such).
void saveDocumentAsFlatText(EngineInstance& instance, const QString& fileName, const QString& flatTextFile);
