#include "plan/plan_sections.h"

#include "plan/plan_keys.h"

QStringList SectionGroup::captions() const
{
    QStringList all;
    for (const PlanSection& section : sections)
        all << section.caption;
    return all;
}

QString SectionGroup::key(int tab) const
{
    return PlanKeys::sectionKey(keyPrefix, tab);
}

QString SectionGroup::guideText(int tab) const
{
    return sections.at(tab).guideLines.join(QStringLiteral("\r\n"));
}

const SectionGroup& firstSectionGroup()
{
    static const SectionGroup group{
        PlanKeys::firstSectionPrefix,
        {
            {"Mission Statement",
             {"The company's long-term mission:", "- How were past goals achieved?",
              "- How will present goals become achieved?"},
             "The company's long-term mission",
             "flag"},
            {"The Team",
             {"CEO, Division management:", "- Previous accomplishments.",
              "- Who are the successful players in the division?"},
             "The people who will make it happen",
             "people"},
            {"Market Summary",
             {"The market in the past, present, and future:",
              "- Changes in market share, leadership, players, market shifts, costs, pricing, or "
              "competition that provide opportunities for your success."},
             "The market in the past, present and future",
             "pie"},
            {"Opportunities",
             {"Problems and opportunities:",
              "- Consumer problems, and the nature of product/service opportunities that are "
              "created by those problems.",
              "- Recognized areas of internal/external areas needing improvement."},
             "Problems worth solving and the opportunities they create",
             "bulb"},
            {"Business Concept",
             {"The key technology, concept, or strategy on which the business is based."},
             "The key technology, concept or strategy",
             "layers"},
            {"Competition",
             {"The competition:", "Advantages and weaknesses for the company as well as competitors."},
             "Competitors, their advantages and their weaknesses",
             "versus"},
        }};
    return group;
}

const SectionGroup& secondSectionGroup()
{
    static const SectionGroup group{
        PlanKeys::secondSectionPrefix,
        {
            {"Goals && Objectives",
             {"Five-year goals:", "Specific, measurable objectives for achieving five-year goals.",
              "- Market-share objectives.", "- Revenue/profitability objectives."},
             "Five-year goals and measurable objectives",
             "target"},
            {"Financial Plan",
             {"Financial plan:", "- Define the current financial model and pricing assumptions.",
              "- Based on external forces, how will the current model change over the next five "
              "years."},
             "The financial model and how it will change",
             "chart"},
            {"Resource Requirements",
             {"Requirements for the following resources:", "- Personnel", "- Technology", "- Finances",
              "- Distribution", "- Promotion", "- Products", "- Services"},
             "People, technology, finances, distribution and promotion",
             "coins"},
            {"Risk && Rewards",
             {"Risks of the proposal and how they will be addressed"},
             "The risks of the proposal and how they will be addressed",
             "scale"},
            {"Key Issues",
             {"Short term:", "- Key issues needing immediate or short-term resolution.",
              "- Consequences of decision postponement.", "Long term", "- Key issues needing long-term resolution.",
              "- Consequences of decision postponement.", "- Issues that require financial resources for resolution."},
             "Short-term and long-term issues to resolve",
             "checklist"},
        }};
    return group;
}

QList<PlanSection> allSections()
{
    return firstSectionGroup().sections + secondSectionGroup().sections;
}

QStringList allSectionKeys()
{
    QStringList keys;
    for (const SectionGroup* group : {&firstSectionGroup(), &secondSectionGroup()})
        for (int tab = 0; tab < group->count(); ++tab)
            keys << group->key(tab);
    return keys;
}
