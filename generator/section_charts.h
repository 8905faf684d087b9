#pragma once

// The charts a section's slide lines hold. A line "Chart: <title>" (any
// case, spaces around ignored; "Chart (line):", "Chart (bar):" and
// "Chart (pie):" choose the kind, plain "Chart:" makes columns) starts a
// chart; the lines right after it of the form "Label: value, value, ..."
// are its rows, up to a blank line or a line of another form. The first row
// names the categories, every later one is a series. A chart whose rows hold
// no number to show stays slide text.
#include "engine/port/presentation_engine.h"

#include <QStringList>

namespace SectionCharts {

struct Chart {
    QString title;
    ChartData data;
    // The place of the chart's first line among the lines given.
    int line = 0;
};

struct Parts {
    // The slide lines that are not a chart's, and the place of each among
    // the lines given.
    QStringList slideLines;
    QList<int> lineSources;
    QList<Chart> charts;
    // What could not be read, one entry a value: 'row "Revenue": "12x"'.
    QStringList unread;
    // What the user is told about the charts, a sentence each: what a
    // chart leaves out, groups, cuts or cannot show as typed.
    QStringList notes;
};

// The longest chart title a chart slide takes.
inline constexpr qsizetype kMostTitleCharacters = 80;

Parts extract(const QStringList& slideLines);

}  // namespace SectionCharts
