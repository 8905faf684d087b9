#pragma once

// A word-processor document as flat OpenDocument text (.fodt: one XML file,
// as the engine saves any document it reads), read in one pass: headings
// with their outline levels, paragraphs, lists with their depth, table
// rows, the title style and paragraphs set in bold, and the document's
// title property. Footnotes and text boxes become paragraphs of their own
// after the paragraph that holds them.
#include "plan/imported_document.h"

class QIODevice;

namespace FlatDocument {

// Throws Failure when the XML is not well formed or holds no document.
ImportedDocument read(QIODevice& xml);

}  // namespace FlatDocument
