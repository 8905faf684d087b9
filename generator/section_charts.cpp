#include "generator/section_charts.h"

#include "generator/chart_numbers.h"

#include <QHash>
#include <QRegularExpression>

namespace SectionCharts {

namespace {

// "Chart:", "Chart (line):", ...: the kind, or nothing for a line that
// starts no chart; title gets the rest of the line.
std::optional<ChartData::Kind> chartStart(const QString& line, QString& title)
{
    static const QRegularExpression start(QStringLiteral("^\\s*chart\\s*(?:\\(\\s*(line|bar|pie)\\s*\\))?\\s*:(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = start.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    title = match.captured(2).trimmed();
    const QString kind = match.captured(1).toLower();
    if (kind == QLatin1String("line"))
        return ChartData::Kind::Line;
    if (kind == QLatin1String("bar"))
        return ChartData::Kind::Bars;
    if (kind == QLatin1String("pie"))
        return ChartData::Kind::Pie;
    return ChartData::Kind::Columns;
}

struct Row {
    QString label;
    QStringList values;
};

// "Label: value, value, ...": values are split at a comma and blanks, or at
// a semicolon when the line has one, so that "1,5; 2,5" and "1,200, 3,400"
// read as people mean them; at commas alone when nothing else splits them.
std::optional<Row> row(const QString& line)
{
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon <= 0 || line.trimmed().isEmpty())
        return std::nullopt;
    Row read{line.left(colon).trimmed(), {}};
    const QString rest = line.mid(colon + 1).trimmed();
    if (read.label.isEmpty() || rest.isEmpty())
        return std::nullopt;
    static const QRegularExpression commaAndBlank(QStringLiteral(",\\s+"));
    QStringList values = rest.contains(QLatin1Char(';')) ? rest.split(QLatin1Char(';')) : rest.split(commaAndBlank);
    // "120,480,1200": commas alone, where they group no thousands.
    if (values.size() == 1 && rest.contains(QLatin1Char(',')) && !ChartNumbers::read(rest))
        values = rest.split(QLatin1Char(','));
    for (const QString& value : values)
        read.values << value.trimmed();
    return read;
}

// The kind of chart, its title, and the range of its categories or, for a
// pie, its slices: "Column chart: Revenue and costs by year, 2027 to 2030",
// "Pie chart: Use of funds, Team, Product and Sales".
QString describe(const QString& title, const ChartData& chart)
{
    static const QHash<ChartData::Kind, QString> kinds{{ChartData::Kind::Columns, QStringLiteral("Column chart")},
                                                       {ChartData::Kind::Bars, QStringLiteral("Bar chart")},
                                                       {ChartData::Kind::Line, QStringLiteral("Line chart")},
                                                       {ChartData::Kind::Pie, QStringLiteral("Pie chart")}};
    const QStringList& categories = chart.categories;
    QStringList parts;
    if (!title.isEmpty())
        parts << title;
    if (categories.size() == 1)
        parts << categories.first();
    else if (chart.kind == ChartData::Kind::Pie && !categories.isEmpty())
        parts << categories.first(categories.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
                     + categories.last();
    else if (!categories.isEmpty())
        parts << QStringLiteral("%1 to %2").arg(categories.first(), categories.last());
    const QString kind = kinds.value(chart.kind);
    return parts.isEmpty() ? kind : kind + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

}  // namespace

Parts extract(const QStringList& slideLines)
{
    Parts parts;
    for (qsizetype i = 0; i < slideLines.size(); ++i) {
        Chart chart;
        const std::optional<ChartData::Kind> kind = chartStart(slideLines.at(i), chart.title);
        if (!kind) {
            parts.slideLines << slideLines.at(i);
            continue;
        }
        chart.data.kind = *kind;
        bool firstRow = true;
        for (; i + 1 < slideLines.size(); ++i) {
            QString nextTitle;
            const std::optional<Row> typed = row(slideLines.at(i + 1));
            if (!typed || chartStart(slideLines.at(i + 1), nextTitle))
                break;
            if (firstRow) {
                chart.data.categories = typed->values;
                firstRow = false;
                continue;
            }
            ChartData::Series series{typed->label, {}};
            for (qsizetype v = 0; v < typed->values.size(); ++v) {
                if (v >= chart.data.categories.size()) {
                    parts.unread << QStringLiteral("row \"%1\": %2 values for %3 categories; the last %4 left out")
                                        .arg(typed->label)
                                        .arg(typed->values.size())
                                        .arg(chart.data.categories.size())
                                        .arg(typed->values.size() - chart.data.categories.size());
                    break;
                }
                const std::optional<ChartNumbers::Number> number = ChartNumbers::read(typed->values.at(v));
                if (!number) {
                    parts.unread << QStringLiteral("row \"%1\": \"%2\"").arg(typed->label, typed->values.at(v));
                    series.values << std::nullopt;
                    continue;
                }
                series.values << number->value;
                if (chart.data.valuePrefix.isEmpty() && chart.data.valueSuffix.isEmpty()) {
                    chart.data.valuePrefix = number->prefix;
                    chart.data.valueSuffix = number->suffix;
                }
                chart.data.decimals = chart.data.decimals || number->decimals;
            }
            chart.data.series << series;
        }
        // The blank line that ends a chart goes with it.
        if (i + 1 < slideLines.size() && slideLines.at(i + 1).trimmed().isEmpty())
            ++i;
        if (chart.data.series.isEmpty())
            parts.unread << QStringLiteral("chart \"%1\": no rows of numbers after its categories").arg(chart.title);
        else {
            chart.data.description = describe(chart.title, chart.data);
            parts.charts << chart;
        }
    }
    // Blank lines left at the end, before a chart that was there, would show
    // as empty paragraphs at the end of the slide.
    while (!parts.charts.isEmpty() && !parts.slideLines.isEmpty() && parts.slideLines.last().trimmed().isEmpty())
        parts.slideLines.removeLast();
    return parts;
}

}  // namespace SectionCharts
