#include "generator/section_notes.h"

#include "generator/section_tables.h"

#include <QRegularExpression>

#include <algorithm>

namespace SectionNotes {

namespace {

bool isHint(const QString& line)
{
    return line.startsWith(QLatin1Char('-'));
}

// A table's row that starts like a hint: a negative number ("-120") or the
// "---|---" line under a Markdown header.
bool isTableRow(const QString& line)
{
    static const QRegularExpression row(QStringLiteral("^-(?:\\d|-*\\s*\\|)"));
    return row.match(line).hasMatch();
}

bool isNotesMarker(const QString& line)
{
    return line.trimmed().compare(QLatin1String("Notes:"), Qt::CaseInsensitive) == 0;
}

// The text of a note of one line ("Notes: call Jane"), or "" for a line
// that is none.
QString oneLineNote(const QString& line)
{
    static const QRegularExpression note(QStringLiteral("^\\s*notes\\s*:\\s*([^\\s:].*)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    return note.match(line).captured(1).trimmed();
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

QStringList trimmedOfBlankLines(QStringList lines)
{
    while (!lines.isEmpty() && isBlank(lines.first()))
        lines.removeFirst();
    while (!lines.isEmpty() && isBlank(lines.last()))
        lines.removeLast();
    return lines;
}

}  // namespace

Parts split(const QStringList& lines)
{
    Parts parts;
    const auto lastLine = [&] { return static_cast<int>(parts.slideLines.size()) - 1; };
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (SectionTables::startsTable(lines, i)) {
            const qsizetype end = SectionTables::tableEnd(lines, i);
            for (const QString& row : lines.sliced(i, end - i))
                if (!isHint(row) || isTableRow(row))
                    parts.slideLines << row;
            i = end - 1;
            continue;
        }
        if (isHint(line))
            continue;
        if (isNotesMarker(line)) {
            while (!parts.slideLines.isEmpty() && isBlank(parts.slideLines.last()))
                parts.slideLines.removeLast();
            QStringList notes;
            for (const QString& noteLine : lines.sliced(i + 1))
                if (!isHint(noteLine))
                    notes << noteLine;
            if (notes = trimmedOfBlankLines(notes); !notes.isEmpty())
                parts.notes << Note{lastLine(), notes};
            return parts;
        }
        if (const QString note = oneLineNote(line); !note.isEmpty())
            parts.notes << Note{lastLine(), {note}};
        else
            parts.slideLines << line;
    }
    return parts;
}

QMap<int, QStringList> bySlide(const QList<Note>& notes, const QList<int>& keptLines, const QList<int>& linesPerSlide)
{
    QMap<int, QStringList> onSlides;
    for (const Note& note : notes) {
        // The last line shown at or above the one the note follows.
        const auto above = std::upper_bound(keptLines.begin(), keptLines.end(), note.afterLine);
        const int shownLine = static_cast<int>(above - keptLines.begin()) - 1;
        int slide = 0;
        for (int firstLine = 0; slide < linesPerSlide.size() - 1; ++slide) {
            firstLine += linesPerSlide.at(slide);
            if (shownLine < firstLine)
                break;
        }
        QStringList& slideNotes = onSlides[slide];
        if (!slideNotes.isEmpty())
            slideNotes << QString();
        slideNotes << note.lines;
    }
    return onSlides;
}

}  // namespace SectionNotes
