#pragma once

#include <QStringList>

// A section as the user writes it: the lines for its slide and, after a line
// reading "Notes:" (any case, spaces around it ignored), what the presenter
// says with that slide. Lines beginning with "-" are hints for whoever
// writes the plan and go into neither.
namespace SectionNotes {

struct Parts {
    QStringList slideLines;
    // Empty when the section has no notes.
    QStringList notes;
};

// Splits a section's lines at its first "Notes:" line. With notes, the
// blank lines between the slide's text, the marker and the notes go too:
// they would show as empty paragraphs at the end of the slide.
Parts split(const QStringList& lines);

}  // namespace SectionNotes
