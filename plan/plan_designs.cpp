#include "plan/plan_designs.h"

namespace PlanDesigns {

const QList<Design>& all()
{
    static const QList<Design> designs = {
        {QStringLiteral("harbour"), QStringLiteral("Harbour"), QStringLiteral("business_plan.ppt")},
        {QStringLiteral("daylight"), QStringLiteral("Daylight"), QStringLiteral("business_plan_daylight.ppt")},
        {QStringLiteral("graphite"), QStringLiteral("Graphite"), QStringLiteral("business_plan_graphite.ppt")},
    };
    return designs;
}

const Design& chosen(const QString& id)
{
    for (const Design& design : all())
        if (design.id == id)
            return design;
    return all().first();
}

}  // namespace PlanDesigns
