#include "generator/section_tables.h"

#include <QRegularExpression>

#include <optional>

namespace SectionTables {

namespace {

bool isBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// "Table: <title>": the title, or nothing for a line that starts no table.
std::optional<QString> titledStart(const QString& line)
{
    static const QRegularExpression start(QStringLiteral("^\\s*table\\s*:(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = start.match(line);
    return match.hasMatch() ? std::optional(match.captured(1).trimmed()) : std::nullopt;
}

// The "|---|:---:|" line under a Markdown table's header.
bool isPipeSeparator(const QString& line)
{
    static const QRegularExpression separator(QStringLiteral("^\\s*\\|?\\s*:?-+:?\\s*(?:\\|\\s*:?-+:?\\s*)*\\|?\\s*$"));
    return separator.match(line).hasMatch();
}

// The places of the pipes that separate cells: not those after a backslash.
QList<qsizetype> pipesIn(const QString& line)
{
    QList<qsizetype> pipes;
    for (qsizetype i = 0; i < line.size(); ++i)
        if (line.at(i) == QLatin1Char('|') && (i == 0 || line.at(i - 1) != QLatin1Char('\\')))
            pipes << i;
    return pipes;
}

QStringList cellsOf(const QString& line)
{
    QStringList cells;
    if (line.contains(QLatin1Char('\t'))) {
        for (const QString& cell : line.split(QLatin1Char('\t')))
            cells << cell.trimmed();
        return cells;
    }
    const QString text = line.trimmed();
    QList<qsizetype> pipes = pipesIn(text);
    qsizetype from = 0;
    qsizetype to = text.size();
    // The pipes at either end of a Markdown row bound it; they part no cells.
    if (!pipes.isEmpty() && pipes.first() == 0) {
        from = 1;
        pipes.removeFirst();
    }
    if (!pipes.isEmpty() && pipes.last() == text.size() - 1 && text.size() > 1) {
        to = text.size() - 1;
        pipes.removeLast();
    }
    for (const qsizetype pipe : pipes) {
        cells << text.mid(from, pipe - from);
        from = pipe + 1;
    }
    cells << text.mid(from, to - from);
    for (QString& cell : cells)
        cell = cell.replace(QStringLiteral("\\|"), QStringLiteral("|")).trimmed();
    return cells;
}

bool hasPipes(const QString& line)
{
    return !pipesIn(line.trimmed()).isEmpty();
}

}  // namespace

bool startsTable(const QStringList& lines, qsizetype at)
{
    if (titledStart(lines.at(at)))
        return at + 1 < lines.size() && !isBlank(lines.at(at + 1));
    return hasPipes(lines.at(at)) && !isPipeSeparator(lines.at(at)) && at + 1 < lines.size()
           && isPipeSeparator(lines.at(at + 1));
}

qsizetype tableEnd(const QStringList& lines, qsizetype at)
{
    const bool titled = titledStart(lines.at(at)).has_value();
    qsizetype end = at + 1;
    // A table of pipes alone goes on while its lines have pipes.
    while (end < lines.size() && !isBlank(lines.at(end)) && (titled || hasPipes(lines.at(end))))
        ++end;
    return end;
}

Parts extract(const QStringList& slideLines)
{
    Parts parts;
    for (qsizetype i = 0; i < slideLines.size(); ++i) {
        if (!startsTable(slideLines, i)) {
            parts.slideLines << slideLines.at(i);
            parts.lineSources << static_cast<int>(i);
            continue;
        }
        const std::optional<QString> title = titledStart(slideLines.at(i));
        Table table{title.value_or(QString()), {}, {}, static_cast<int>(i)};
        const qsizetype end = tableEnd(slideLines, i);
        bool tooWide = false;
        for (qsizetype r = title ? i + 1 : i; r < end; ++r) {
            if (r > i && isPipeSeparator(slideLines.at(r)) && table.rows.isEmpty())
                continue;
            QStringList cells = cellsOf(slideLines.at(r));
            if (table.header.isEmpty()) {
                table.header = cells;
                continue;
            }
            tooWide = tooWide || cells.size() > table.header.size();
            cells.resize(table.header.size());
            table.rows << cells;
        }
        if (tooWide)
            parts.notes << QStringLiteral(
                               "The table \"%1\" has rows with more cells than its header row: the cells "
                               "beyond the header's are left out. Add them to the header to show them.")
                               .arg(table.title);
        parts.tables << table;
        // The blank line that ends a table goes with it.
        i = end < slideLines.size() && isBlank(slideLines.at(end)) ? end : end - 1;
    }
    while (!parts.tables.isEmpty() && !parts.slideLines.isEmpty() && isBlank(parts.slideLines.last())) {
        parts.slideLines.removeLast();
        parts.lineSources.removeLast();
    }
    return parts;
}

}  // namespace SectionTables
