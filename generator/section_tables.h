#pragma once

// The tables a section's slide lines hold. A line "Table: <title>" (any
// case, spaces around ignored) starts a table; the lines right after it, up
// to a blank line, are its rows, the first its header. Cells are separated
// by tabs or, in a line without tabs, by "|" (Markdown pipes: the pipes at
// either end and the "|---|" line under the header are no cells, "\|" is a
// pipe inside a cell); a line of neither is a row of one cell. A row of
// pipes followed by a "|---|" line starts a table without a "Table:" line,
// whose rows are the lines with pipes after it. A "Table:" line with no row
// after it stays slide text.
#include <QList>
#include <QStringList>

namespace SectionTables {

struct Table {
    QString title;
    QStringList header;
    // Each as wide as the header: short rows get empty cells.
    QList<QStringList> rows;
    // The place of the table's first line among the lines given.
    int line = 0;
};

struct Parts {
    // The slide lines that are not a table's, and the place of each among
    // the lines given.
    QStringList slideLines;
    QList<int> lineSources;
    QList<Table> tables;
    // What the user is told, a sentence each: a table whose rows have more
    // cells than its header, once a table.
    QStringList notes;
};

Parts extract(const QStringList& slideLines);

// Whether the line starts a table, with a "Table:" line or as the header
// of pipes above a "|---|" line.
bool startsTable(const QStringList& lines, qsizetype at);
// Where the rows of the table that starts at the line end: one past its
// last row.
qsizetype tableEnd(const QStringList& lines, qsizetype at);

}  // namespace SectionTables
