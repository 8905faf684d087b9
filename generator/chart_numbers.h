#pragma once

#include <QString>

#include <optional>

// Numbers as people type them in a plan: "1,200,000", "1.200.000",
// "1 200 000", "1'200", "2,5", "1.2M", "€120k", "120 kr", "12%", "-12",
// "−12", "(12)".
namespace ChartNumbers {

struct Number {
    double value = 0;
    // A currency sign or "%" written before or after the number.
    QString prefix;
    QString suffix;
    // A single point or comma before three digits ("3.141", "1,200") may
    // group thousands, as read, or start a fraction: that mark, and the
    // number read as a fraction; no mark when the text is not ambiguous.
    QChar ambiguousMark;
    double asFraction = 0;
};

// The number the text says, or nothing when it says none.
std::optional<Number> read(const QString& text);

}  // namespace ChartNumbers
