#pragma once

#include <QString>

// Keys under which the plan lies in the settings store.
namespace PlanKeys {

inline const QString companyName = QStringLiteral("Company Name");
inline const QString planTitle = QStringLiteral("Business Plan");
inline const QString firstSectionPrefix = QStringLiteral("FirstStatement_");
inline const QString secondSectionPrefix = QStringLiteral("SecondStatement_");
// The name of the plan's own copy of the company's logo; "" for none.
inline const QString logo = QStringLiteral("Logo");
// The deck's design, by its id; "" for the first.
inline const QString design = QStringLiteral("Design");
// The dictionary the plan is spell-checked with, which also names the
// language its deck is written in; "" for the system's.
inline const QString spellingLanguage = QStringLiteral("Spelling Language");

inline QString sectionKey(const QString& prefix, int tab)
{
    return prefix + QString::number(tab);
}

}  // namespace PlanKeys
