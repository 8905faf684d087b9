#include "generator/section_notes.h"

namespace SectionNotes {

namespace {

bool isHint(const QString& line)
{
    return line.startsWith(QLatin1Char('-'));
}

bool isNotesMarker(const QString& line)
{
    return line.trimmed().compare(QLatin1String("Notes:"), Qt::CaseInsensitive) == 0;
}

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

QStringList withoutHints(const QStringList& lines)
{
    QStringList kept;
    for (const QString& line : lines)
        if (!isHint(line))
            kept << line;
    return kept;
}

}  // namespace

Parts split(const QStringList& lines)
{
    const auto marker = std::find_if(lines.begin(), lines.end(), isNotesMarker);
    if (marker == lines.end())
        return {withoutHints(lines), {}};
    Parts parts{withoutHints(QStringList(lines.begin(), marker)), withoutHints(QStringList(marker + 1, lines.end()))};
    while (!parts.slideLines.isEmpty() && isBlank(parts.slideLines.last()))
        parts.slideLines.removeLast();
    while (!parts.notes.isEmpty() && isBlank(parts.notes.first()))
        parts.notes.removeFirst();
    while (!parts.notes.isEmpty() && isBlank(parts.notes.last()))
        parts.notes.removeLast();
    return parts;
}

}  // namespace SectionNotes
