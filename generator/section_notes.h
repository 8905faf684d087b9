#pragma once

#include <QList>
#include <QMap>
#include <QStringList>

// A section as the user writes it: the lines for its slide, and what the
// presenter says with them. A line reading "Notes:" (any case, spaces
// around it ignored) makes every line after it notes; a line "Notes: <text>"
// is a note of one line among the slide's lines. Either goes with the slide
// the line above it lands on (the first slide when no line is above it).
// Lines beginning with "-" are hints for whoever writes the plan and go
// into neither, but for a table's rows that start with a negative number
// or a "---|---" line.
namespace SectionNotes {

struct Note {
    // The slide line the note follows, by its place in slideLines; -1 for
    // none.
    int afterLine = -1;
    QStringList lines;
};

struct Parts {
    QStringList slideLines;
    // In the order written; empty when the section has none.
    QList<Note> notes;
};

// Splits a section's lines into slide lines and notes. Blank lines between
// the slide's text, a "Notes:" line and its notes go too: they would show as
// empty paragraphs at the end of the slide.
Parts split(const QStringList& lines);

// The notes of each of a section's slides, by the slide's place among them
// (0 for its first), notes on one slide a blank line apart. keptLines names,
// for each line the slides show, its place among the slide lines the notes
// were split from (lines a chart took are not shown); linesPerSlide says how
// many lines each slide shows. A note whose line went nowhere goes with the
// last slide.
QMap<int, QStringList> bySlide(const QList<Note>& notes, const QList<int>& keptLines, const QList<int>& linesPerSlide);

}  // namespace SectionNotes
