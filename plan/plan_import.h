#pragma once

// A business plan document made into the plan: its headings matched to the
// plan's sections, the text under each going to its section as slide lines
// (with the paragraphs in the notes, when the slides take first sentences),
// and what goes nowhere counted, so that no word is lost without a word.
#include "plan/imported_document.h"
#include "plan/plan_file.h"

#include <QList>
#include <QMap>
#include <QString>

namespace PlanImport {

// Where a part goes, besides a section's place among all sections.
inline constexpr int kUnplaced = -1;  // no heading says where: the user decides
inline constexpr int kLeftOut = -2;   // the user left it out

// A heading and the paragraphs under it, up to the next heading; the text
// before the first heading is a part without one.
struct Part {
    QString heading;
    int level = 0;
    // The blocks of its paragraphs, the heading's own not among them.
    int firstBlock = 0;
    int endBlock = 0;
    // Where it goes: the section its heading names, else that of the
    // nearest heading above it that names one, else unplaced.
    int section = kUnplaced;
};

// Headings a document without any is read with: short lines in bold, else
// short lines that name a section. Without those either, each paragraph is
// a part of its own.
inline constexpr int kMostWordsInABoldHeading = 10;

// The document's parts, each placed where its headings say.
QList<Part> parts(const ImportedDocument& document);

// How the slides take prose.
enum class Prose {
    // Each paragraph a line of its own.
    WholeParagraphs,
    // Each paragraph's first sentence a line, the paragraph in the notes
    // with it; paragraphs of at most kMostWordsKeptWhole words stay whole.
    FirstSentences,
};
inline constexpr int kMostWordsKeptWhole = 25;

struct Result {
    // Each section's text by its place among all sections, lines separated
    // by CR LF, as a section box holds it; sections with nothing are not
    // there.
    QMap<int, QString> sectionTexts;
    // Paragraphs (and their words) of parts left out or not placed,
    // headings included.
    int paragraphsLeftOut = 0;
    int wordsLeftOut = 0;
};

// The parts' texts, each in the section it is placed in, in the document's
// order; unplaced and left-out parts are counted. Nothing the document says
// reads as one of the plan's own forms (a hint, notes, a chart).
Result sectionTexts(const ImportedDocument& document, const QList<Part>& parts, Prose prose);

// The plan's title: the paragraph in the title style, else the document's
// title property when it is not a file's name; "" when neither.
QString planTitle(const ImportedDocument& document);
// The company's name, when the text before the first heading gives it: a
// line naming a company by its legal form ("Fjordlight AS", "Acme Inc."),
// or one after "Company:"; "" otherwise.
QString companyName(const ImportedDocument& document, const QList<Part>& parts);

// The plan the document makes, every key present: its title, company and
// sections; no logo and the first design.
PlanFile::Texts planOf(const ImportedDocument& document, const QList<Part>& parts, const Result& result);

// The part's first words, up to about 60 characters.
QString firstWords(const ImportedDocument& document, const Part& part);

// What the user is told of an import: where each part went (a line each,
// by its heading, or its first words in a document without headings), the
// sections nothing was found for, and what was left out.
QStringList report(const ImportedDocument& document, const QList<Part>& parts, const Result& result);

// The paragraph as a line of slide text: a line that would read as a hint,
// a notes marker, a chart or a table starts with an invisible word joiner,
// so that it stays text.
QString asTextLine(const QString& paragraph);

// The number of words in the text.
int wordCount(const QString& text);

}  // namespace PlanImport
