#pragma once

#include <QString>

// The names a business plan document gives the parts of the plan: each
// section's own caption and the common names for the same part, in English,
// German, French and Spanish (kept as data beside the program's other
// assets).
namespace SectionNames {

// The section, by its place among all sections (0 for the first), whose
// name the heading bears; -1 for none. A heading bears a name that it is or
// holds as whole words, without regard to case, accents, punctuation or
// numbering ("3.2 Market analysis:"); of several, the longest decides, then
// the first in the heading.
int sectionOf(const QString& heading);

// The heading's words as they are compared: lower case, without accents,
// numbering or punctuation, "&" read as "and", single spaces.
QString comparable(const QString& heading);

}  // namespace SectionNames
