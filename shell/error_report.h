#pragma once

#include <QString>

class Dialogs;

namespace ErrorReport {

// "in Quenlith2021/08/31.<owner>.<procedure> ", the fixed location text of a
// trapped procedure.
QString location(const QString& owner, const QString& procedure);

// The text of the error report box: description, where, at which line, and
// the request to mail a screenshot.
QString text(const QString& description, const QString& location, int line);

// The description a report's text begins with, on one line.
QString description(const QString& text);

// Shows the error report box and returns once the user dismissed it.
void show(Dialogs& dialogs, const QString& description, const QString& location, int line);

}  // namespace ErrorReport
