#include "plan_sections.h"

#include "plan_keys.h"

QString SectionGroup::key(int tab) const
{
    return PlanKeys::sectionKey(keyPrefix, tab);
}

QString SectionGroup::guideText(int tab) const
{
    return guideLines.at(tab).join(QStringLiteral("\r\n"));
}

const SectionGroup& firstSectionGroup()
{
    static const SectionGroup strip{
        PlanKeys::firstSectionPrefix,
        {"Mission Statement", "The Team", "Market Summary", "Opportunities", "Business Concept",
         "Competition"},
        {
            {"The company's long-term mission:", "- How were past goals achieved?",
             "- How will present goals become achieved?"},
            {"CEO, Division management:", "- Previous accomplishments.",
             "- Who are the successful players in the division?"},
            {"The market in the past, present, and future:",
             "- Changes in market share, leadership, players, market shifts, costs, pricing, or "
             "competition that provide opportunities for your success."},
            {"Problems and opportunities:",
             "- Consumer problems, and the nature of product/service opportunities that are "
             "created by those problems.",
             "- Recognized areas of internal/external areas needing improvement."},
            {"The key technology, concept, or strategy on which the business is based."},
            {"The competition:",
             "Advantages and weaknesses for the company as well as competitors."},
        }};
    return strip;
}

const SectionGroup& secondSectionGroup()
{
    static const SectionGroup strip{
        PlanKeys::secondSectionPrefix,
        {"Goals && Objectives", "Financial Plan", "Resource Requirements", "Risk && Rewards",
         "Key Issues"},
        {
            {"Five-year goals:", "Specific, measurable objectives for achieving five-year goals.",
             "- Market-share objectives.", "- Revenue/profitability objectives."},
            {"Financial plan:", "- Define the current financial model and pricing assumptions.",
             "- Based on external forces, how will the current model change over the next five "
             "years."},
            {"Requirements for the following resources:", "- Personnel", "- Technology",
             "- Finances", "- Distribution", "- Promotion", "- Products", "- Services"},
            {"Risks of the proposal and how they will be addressed"},
            {"Short term:", "- Key issues needing immediate or short-term resolution.",
             "- Consequences of decision postponement.", "Long term",
             "- Key issues needing long-term resolution.",
             "- Consequences of decision postponement.",
             "- Issues that require financial resources for resolution."},
        }};
    return strip;
}

QStringList allSectionKeys()
{
    QStringList keys;
    for (const SectionGroup* strip : {&firstSectionGroup(), &secondSectionGroup()})
        for (int tab = 0; tab < strip->count(); ++tab)
            keys << strip->key(tab);
    return keys;
}
