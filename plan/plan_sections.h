#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The plan's sections: the one table that the input window, deck generation
// and the template tool follow. Sections come in two groups, each behind a
// tab strip of the input window; in order they fill the slides from slide 2.
struct PlanSection {
    // The tab's caption and the slide's title; a doubled ampersand shows as
    // one.
    QString caption;
    // The guide the section shows while nothing is written in it.
    QStringList guideLines;
    // The template's text on the slide until a plan fills it.
    QString placeholder;
    // The kind of drawing the template puts beside the text.
    QString drawing;

    // The slide's title: the caption with its doubled ampersands single.
    QString title() const { return QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&")); }
};

struct SectionGroup {
    // The store keys of the group's sections are the prefix and the tab.
    QString keyPrefix;
    QList<PlanSection> sections;

    int count() const { return static_cast<int>(sections.size()); }
    QStringList captions() const;
    QString key(int tab) const;
    // The guide's lines joined by CR LF, with no break after the last.
    QString guideText(int tab) const;
};

const SectionGroup& firstSectionGroup();
const SectionGroup& secondSectionGroup();

// Every section, in the order of the slides they fill (slide 2 onwards).
QList<PlanSection> allSections();
// The store keys of every section, in the same order.
QStringList allSectionKeys();
