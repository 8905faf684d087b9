#pragma once

// Reading a business plan document for the import: Markdown directly, every
// other kind through the engine's word processor, which hands over the
// whole document as flat OpenDocument text in one file.
#include "plan/imported_document.h"
#include "plan/plan_file.h"

#include <QString>
#include <QStringList>

class PresentationEngine;

namespace DocumentReading {

// The kinds of document the import reads, by the ends of their names.
const QStringList& suffixes();
bool isDocument(const QString& path);
// Whether reading the document takes the engine: all but Markdown do.
bool needsEngine(const QString& path);

// No business plan comes near this; a larger file is refused before the
// engine spends time on it.
inline constexpr qint64 kMostBytes = 50 * 1024 * 1024;

// What becomes of the engine's application that read a document.
enum class AfterReading { Quit, KeepRunning };

// Reads the document. The engine's application is created for it (the one
// started ahead of need, when there is one), and quit after it or kept
// running for what follows, which then ends it; the flat text is written
// into workFolder and removed. Throws DocumentNeedsPassword,
// EngineUnavailable, or Failure with what the user can do.
ImportedDocument read(PresentationEngine& engine, const QString& path, const QString& workFolder,
                      AfterReading after = AfterReading::Quit);

// A plan made from a document as the import's defaults make it: sections
// from its headings, first sentences on the slides.
struct DefaultImport {
    PlanFile::Texts texts;
    // Where each part went and what was left out, a line each.
    QStringList report;
};
DefaultImport importWithDefaults(PresentationEngine& engine, const QString& path, const QString& workFolder,
                                 AfterReading after);

}  // namespace DocumentReading
