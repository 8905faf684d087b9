#pragma once

// A business plan written in Markdown, read with md4c (the CommonMark
// reader Qt's own Markdown support uses) with its tables: headings, lists
// with their depth, table rows, and paragraphs wholly in bold. A single
// top-level heading that opens the document, above deeper ones, is its
// title.
#include "plan/imported_document.h"

#include <QByteArray>

namespace MarkdownDocument {

ImportedDocument read(const QByteArray& markdown);

}  // namespace MarkdownDocument
