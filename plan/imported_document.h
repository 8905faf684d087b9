#pragma once

#include <QList>
#include <QString>

// A word-processor document as the import reads it: its paragraphs in
// order, each a heading with its outline level, a paragraph of prose, an
// item of a list or a row of a table.
struct DocumentBlock {
    enum class Kind { Heading, Paragraph, ListItem, TableRow };
    Kind kind = Kind::Paragraph;
    QString text;  // a table row's cells are separated by tabs
    // A heading's outline level (1 for the top), a list item's depth (1 for
    // a list's own items); 0 otherwise.
    int level = 0;
    // Set in a whole paragraph's own character style: the paragraphs that
    // may stand for headings in a document without any.
    bool bold = false;
    // In the paragraph style a document's title takes.
    bool title = false;
    // The first row of a table.
    bool startsTable = false;
};

struct ImportedDocument {
    QList<DocumentBlock> blocks;
    // The title the document's properties give; often a file name.
    QString titleProperty;
};
