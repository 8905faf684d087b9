#include "generator/section_charts.h"

#include "generator/chart_numbers.h"

#include <QHash>
#include <QRegularExpression>

#include <cmath>

namespace SectionCharts {

namespace {

// "Chart:", "Chart (line):", ...: the kind, an unknown kind (its name in
// unknownKind), or nothing for a line that starts no chart; title gets the
// rest of the line.
std::optional<ChartData::Kind> chartStart(const QString& line, QString& title, QString& unknownKind)
{
    static const QRegularExpression start(QStringLiteral("^\\s*chart\\s*(?:\\(([^)]*)\\))?\\s*:(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = start.match(line);
    unknownKind.clear();
    if (!match.hasMatch())
        return std::nullopt;
    title = match.captured(2).trimmed();
    const QString kind = match.captured(1).trimmed().toLower();
    if (kind.isEmpty())
        return ChartData::Kind::Columns;
    if (kind == QLatin1String("line"))
        return ChartData::Kind::Line;
    if (kind == QLatin1String("bar"))
        return ChartData::Kind::Bars;
    if (kind == QLatin1String("pie"))
        return ChartData::Kind::Pie;
    unknownKind = match.captured(1).trimmed();
    return std::nullopt;
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

// Where a chart's rows end: at the first line that is no row, or starts
// another chart.
qsizetype rowsEnd(const QStringList& lines, qsizetype from)
{
    qsizetype end = from;
    QString title;
    QString unknownKind;
    while (end < lines.size() && row(lines.at(end)) && !chartStart(lines.at(end), title, unknownKind)
           && unknownKind.isEmpty())
        ++end;
    return end;
}

// How values show a mark is used: as a decimal mark ("2.5", "0.125",
// "1,200.5" for the point), as a thousands mark ("1.200.000", "1.200,5"
// for the point); a value that shows neither leaves both unset.
struct MarkUse {
    bool decimal = false;
    bool grouping = false;
};

QChar otherMark(QChar mark)
{
    return mark == QLatin1Char('.') ? QLatin1Char(',') : QLatin1Char('.');
}

MarkUse useIn(QChar mark, const QString& value)
{
    static const QRegularExpression notDigits(QStringLiteral("[^0-9.,]"));
    const QString digits = QString(value).remove(notDigits);
    const qsizetype at = digits.indexOf(mark);
    if (at < 0)
        return {};
    const qsizetype otherAt = digits.indexOf(otherMark(mark));
    if (digits.count(mark) > 1 || otherAt > at)
        return {false, true};
    const bool decimal =
        otherAt >= 0 || at == 0 || digits.startsWith(QStringLiteral("0") + mark) || digits.size() - at - 1 != 3;
    return {decimal, false};
}

// How a row's values use a mark, the other mark's use included: a comma
// that is a decimal mark makes the point a thousands mark, and so on.
MarkUse rowUseOf(QChar mark, const QStringList& values)
{
    MarkUse use;
    for (const QString& value : values) {
        const MarkUse own = useIn(mark, value);
        const MarkUse other = useIn(otherMark(mark), value);
        use.decimal = use.decimal || own.decimal || other.grouping;
        use.grouping = use.grouping || own.grouping || other.decimal;
    }
    return use;
}

// A chart read from its rows, what of it could not be read, and the notes
// about it; no chart when the rows hold no number to show.
struct Reading {
    std::optional<Chart> chart;
    QStringList unread;
    QStringList notes;
};

// The first rows and categories a chart keeps, beyond which a slide shows
// no more legibly, and the longest title it takes.
constexpr qsizetype kMostSeries = 8;
constexpr qsizetype kMostCategories = 40;
constexpr qsizetype kMostSlices = 8;

// The title, cut at a word to kMostTitleCharacters.
QString fittedTitle(const QString& title)
{
    if (title.size() <= kMostTitleCharacters)
        return title;
    QString cut = title.left(kMostTitleCharacters - 1);
    const qsizetype blank = cut.lastIndexOf(QLatin1Char(' '));
    if (blank > kMostTitleCharacters / 2)
        cut.truncate(blank);
    return cut.trimmed() + QChar(0x2026);
}

// A pie's slices beyond the most it shows legibly: the smallest go into one
// slice, "Other".
void groupSmallestSlices(ChartData& pie, QStringList& notes, const QString& title)
{
    ChartData::Series& shares = pie.series.first();
    QList<qsizetype> order;
    for (qsizetype c = 0; c < pie.categories.size(); ++c)
        order << c;
    const auto value = [&](qsizetype c) {
        return c < shares.values.size() && shares.values.at(c) ? *shares.values.at(c) : 0.0;
    };
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return value(a) > value(b); });
    QList<qsizetype> kept = order.first(kMostSlices - 1);
    std::sort(kept.begin(), kept.end());
    double other = 0;
    for (qsizetype c : order.sliced(kMostSlices - 1))
        other += value(c);
    ChartData grouped = pie;
    grouped.categories.clear();
    grouped.series.first().values.clear();
    for (qsizetype c : kept) {
        grouped.categories << pie.categories.at(c);
        grouped.series.first().values << shares.values.value(c);
    }
    grouped.categories << QStringLiteral("Other");
    grouped.series.first().values << other;
    notes << QStringLiteral(
                 "The pie \"%1\" shows its %2 smallest slices as one, \"Other\": more than %3 slices "
                 "cannot be told apart.")
                 .arg(title)
                 .arg(order.size() - kMostSlices + 1)
                 .arg(kMostSlices);
    pie = grouped;
}

// What a slide shows legibly: the first rows and categories, a pie's
// shares above nought in at most kMostSlices slices; what is left out or
// grouped is told in notes.
void fitToSlide(ChartData& data, const QString& title, QStringList& notes)
{
    const auto firstOnly = [&](const QString& what, qsizetype most, qsizetype typed) {
        notes << QStringLiteral("The chart \"%1\" shows its first %2 %3 of %4: a slide shows no more legibly.")
                     .arg(title)
                     .arg(most)
                     .arg(what)
                     .arg(typed);
    };
    if (data.series.size() > kMostSeries) {
        firstOnly(QStringLiteral("rows"), kMostSeries, data.series.size());
        data.series.resize(kMostSeries);
    }
    if (data.kind != ChartData::Kind::Pie && data.categories.size() > kMostCategories) {
        firstOnly(QStringLiteral("categories"), kMostCategories, data.categories.size());
        data.categories.resize(kMostCategories);
        for (ChartData::Series& series : data.series)
            series.values = series.values.first(std::min(series.values.size(), kMostCategories));
    }
    if (data.kind == ChartData::Kind::Pie) {
        QList<std::optional<double>>& shares = data.series.first().values;
        QStringList negative;
        for (qsizetype c = 0; c < shares.size(); ++c)
            if (shares.at(c) && *shares.at(c) < 0) {
                negative << QStringLiteral("\"%1\"").arg(data.categories.at(c));
                shares[c] = std::nullopt;
            }
        if (!negative.isEmpty())
            notes << QStringLiteral("The pie \"%1\" leaves out %2: a pie cannot show a share below nought.")
                         .arg(title, negative.join(QStringLiteral(", ")));
        if (data.categories.size() > kMostSlices)
            groupSmallestSlices(data, notes, title);
    }
}

Reading readChart(ChartData::Kind kind, const QString& typedTitle, const QStringList& rows)
{
    Reading reading;
    Chart chart{fittedTitle(typedTitle), {}};
    ChartData& data = chart.data;
    data.kind = kind;
    const QString title = chart.title;
    if (chart.title != typedTitle)
        reading.notes << QStringLiteral("The chart title \"%1\" is cut to %2 characters to fit its slide.")
                             .arg(title)
                             .arg(kMostTitleCharacters);
    QStringList signs;
    bool anyValue = false;
    bool anyNonZero = false;
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const std::optional<Row> typed = row(rows.at(r));
        if (r == 0) {
            data.categories = typed->values;
            continue;
        }
        ChartData::Series series{typed->label, {}};
        QStringList readAsThousands;
        for (qsizetype v = 0; v < typed->values.size(); ++v) {
            if (v >= data.categories.size()) {
                reading.unread << QStringLiteral("row \"%1\": %2 values for %3 categories; the last %4 left out")
                                      .arg(typed->label)
                                      .arg(typed->values.size())
                                      .arg(data.categories.size())
                                      .arg(typed->values.size() - data.categories.size());
                break;
            }
            const std::optional<ChartNumbers::Number> number = ChartNumbers::read(typed->values.at(v));
            if (!number) {
                reading.unread << QStringLiteral("row \"%1\": \"%2\"").arg(typed->label, typed->values.at(v));
                series.values << std::nullopt;
                continue;
            }
            anyValue = true;
            double value = number->value;
            // "3.141": the row's other values say whether the mark starts a
            // fraction; when they do not, it groups thousands, and is told.
            if (!number->ambiguousMark.isNull()) {
                const MarkUse use = rowUseOf(number->ambiguousMark, typed->values);
                if (use.decimal && !use.grouping)
                    value = number->asFraction;
                else if (use.decimal == use.grouping)
                    readAsThousands << QStringLiteral("\"%1\"").arg(typed->values.at(v));
            }
            anyNonZero = anyNonZero || value != 0;
            series.values << value;
            const QString sign = (number->prefix + number->suffix).trimmed();
            if (!sign.isEmpty() && sign != QLatin1String("%") && !signs.contains(sign))
                signs << sign;
            if (data.valuePrefix.isEmpty() && data.valueSuffix.isEmpty()) {
                data.valuePrefix = number->prefix;
                data.valueSuffix = number->suffix;
            }
            data.hasDecimals = data.hasDecimals || value != std::floor(value);
        }
        data.series << series;
        if (!readAsThousands.isEmpty())
            reading.notes << QStringLiteral(
                                 "In the chart \"%1\", row \"%2\": %3 read as thousands, as the row "
                                 "does not say; write 1200 or 1.2 to say which.")
                                 .arg(title, typed->label, readAsThousands.join(QStringLiteral(", ")));
    }
    if (!anyValue)
        return reading;
    if (!anyNonZero) {
        reading.notes << QStringLiteral("The chart \"%1\" has only zeros to show, so it stays slide text.").arg(title);
        return reading;
    }
    if (signs.size() > 1)
        reading.notes << QStringLiteral(
                             "The chart \"%1\" mixes currencies (%2) on one axis, which shows them all as "
                             "%3: chart each currency on its own.")
                             .arg(title, signs.join(QStringLiteral(", ")), signs.first());
    fitToSlide(data, title, reading.notes);
    data.description = describe(title, data);
    reading.chart = chart;
    return reading;
}

}  // namespace

Parts extract(const QStringList& slideLines)
{
    Parts parts;
    for (qsizetype i = 0; i < slideLines.size(); ++i) {
        QString title;
        QString unknownKind;
        const std::optional<ChartData::Kind> kind = chartStart(slideLines.at(i), title, unknownKind);
        if (!kind) {
            if (!unknownKind.isEmpty())
                parts.notes << QStringLiteral(
                                   "\"%1\" starts no chart: the kinds are Chart:, Chart (line):, Chart "
                                   "(bar): and Chart (pie):, so it stays slide text.")
                                   .arg(slideLines.at(i).trimmed().left(kMostTitleCharacters));
            parts.slideLines << slideLines.at(i);
            parts.lineSources << static_cast<int>(i);
            continue;
        }
        const qsizetype end = rowsEnd(slideLines, i + 1);
        Reading reading = readChart(*kind, title, slideLines.mid(i + 1, end - i - 1));
        // The blank line that ends a chart goes with it.
        const qsizetype last = end < slideLines.size() && slideLines.at(end).trimmed().isEmpty() ? end : end - 1;
        if (!reading.chart) {
            // No number to chart: the lines are what they were before
            // charts existed, slide text.
            parts.notes << reading.notes;
            parts.slideLines << slideLines.mid(i, last - i + 1);
            for (qsizetype kept = i; kept <= last; ++kept)
                parts.lineSources << static_cast<int>(kept);
        } else {
            parts.charts << *reading.chart;
            parts.charts.last().line = static_cast<int>(i);
            parts.unread << reading.unread;
            parts.notes << reading.notes;
        }
        i = last;
    }
    // Blank lines left at the end, before a chart that was there, would show
    // as empty paragraphs at the end of the slide.
    while (!parts.charts.isEmpty() && !parts.slideLines.isEmpty() && parts.slideLines.last().trimmed().isEmpty()) {
        parts.slideLines.removeLast();
        parts.lineSources.removeLast();
    }
    return parts;
}

}  // namespace SectionCharts
