#pragma once

#include <QList>
#include <QString>

// The looks a deck can have: each a template deck of its own beside the
// program, built from its own description. The plan keeps its choice.
namespace PlanDesigns {

struct Design {
    QString id;  // what the plan keeps
    QString name;
    QString templateFile;
};

// Every design, the one a plan without a choice has first.
const QList<Design>& all();

// The design the plan's choice names; the first for none or one this
// program does not know.
const Design& chosen(const QString& id);

}  // namespace PlanDesigns
