#pragma once

#include <QString>
#include <QStringList>

// One tab strip of the input window: its sections' captions (a doubled
// ampersand shows as one), the store key prefix, and the guide text each
// section shows while nothing is written in it.
struct SectionStrip {
    QString keyPrefix;
    QStringList captions;
    QList<QStringList> guideLines;

    int count() const { return static_cast<int>(captions.size()); }
    QString key(int tab) const;
    // The guide's lines joined by CR LF, with no break after the last.
    QString guideText(int tab) const;
};

const SectionStrip& firstStrip();
const SectionStrip& secondStrip();
