#pragma once

#include <QString>
#include <QStringList>

// The plan's sections, the one table that the input window, deck generation
// and the template's description follow: two groups, each behind a tab
// strip of the input window, each with its sections' captions (a doubled ampersand shows as
// one; they are also the section slides' titles, in order from slide 2),
// the store key prefix, and the guide text each section shows while
// nothing is written in it.
struct SectionGroup {
    QString keyPrefix;
    QStringList captions;
    QList<QStringList> guideLines;

    int count() const { return static_cast<int>(captions.size()); }
    QString key(int tab) const;
    // The guide's lines joined by CR LF, with no break after the last.
    QString guideText(int tab) const;
};

const SectionGroup& firstSectionGroup();
const SectionGroup& secondSectionGroup();

// The store keys of every section, in the order of the slides they fill
// (slide 2 onwards).
QStringList allSectionKeys();
