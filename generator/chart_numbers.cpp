#include "generator/chart_numbers.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

namespace ChartNumbers {

namespace {

const QStringList kCurrencies = {QStringLiteral("€"), QStringLiteral("$"), QStringLiteral("£"), QStringLiteral("kr")};

// Takes a currency sign off the text's start or end, spaces around it too.
QString takeCurrency(QString& text, bool atEnd)
{
    for (const QString& sign : kCurrencies) {
        if (atEnd ? text.endsWith(sign, Qt::CaseInsensitive) : text.startsWith(sign, Qt::CaseInsensitive)) {
            text = (atEnd ? text.chopped(sign.size()) : text.mid(sign.size())).trimmed();
            return sign;
        }
    }
    return {};
}

// How many times the suffix multiplies: k, M, bn or B, or 1 without one.
double takeMultiplier(QString& text)
{
    static const struct {
        const char* suffix;
        double times;
    } multipliers[] = {{"bn", 1e9}, {"B", 1e9}, {"M", 1e6}, {"k", 1e3}, {"K", 1e3}};
    for (const auto& multiplier : multipliers) {
        const QString suffix = QLatin1String(multiplier.suffix);
        if (text.endsWith(suffix) && text.size() > suffix.size()
            && text.at(text.size() - suffix.size() - 1).isDigit()) {
            text.chop(suffix.size());
            return multiplier.times;
        }
    }
    return 1;
}

// Whether every group after the first has three digits and the first one
// to three, not a lone nought: the separator groups thousands ("0.125" is
// a fraction).
bool groupsThousands(const QStringList& groups)
{
    if (groups.first().isEmpty() || groups.first().size() > 3 || groups.first() == QLatin1String("0"))
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups.at(i).size() != 3)
            return false;
    return true;
}

// The digits with at most one decimal point, in C's form ("1200.5"), or
// nothing when the separators make no number.
std::optional<QString> plainDigits(QString digits)
{
    static const QRegularExpression spaces(QStringLiteral("[ \\x{00A0}\\x{202F}'’]"));
    if (digits.contains(spaces)) {
        const QStringList groups = digits.split(spaces);
        QString last = groups.last();
        // A decimal part may follow the last group: "1 200,50".
        const qsizetype decimal = last.indexOf(QRegularExpression(QStringLiteral("[.,]")));
        QStringList whole = groups;
        QString fraction;
        if (decimal >= 0) {
            whole.last() = last.left(decimal);
            fraction = last.mid(decimal + 1);
        }
        if (!groupsThousands(whole))
            return std::nullopt;
        digits = whole.join(QString()) + (decimal >= 0 ? QStringLiteral(".") + fraction : QString());
        return digits;
    }
    const qsizetype commas = digits.count(QLatin1Char(',')), points = digits.count(QLatin1Char('.'));
    if (commas > 0 && points > 0) {
        // Both: the last one written is the decimal point.
        const QChar decimal = digits.lastIndexOf(QLatin1Char(',')) > digits.lastIndexOf(QLatin1Char('.'))
                                  ? QLatin1Char(',')
                                  : QLatin1Char('.');
        const QChar grouping = decimal == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
        const qsizetype at = digits.lastIndexOf(decimal);
        if (digits.indexOf(decimal) != at || !groupsThousands(digits.left(at).split(grouping)))
            return std::nullopt;
        return digits.left(at).remove(grouping) + QStringLiteral(".") + digits.mid(at + 1);
    }
    const QChar separator = commas > 0 ? QLatin1Char(',') : QLatin1Char('.');
    const QStringList groups = digits.split(separator);
    if (groups.size() == 1)
        return digits;
    if (groupsThousands(groups))
        return groups.join(QString());
    if (groups.size() == 2)
        return groups.join(QLatin1Char('.'));
    return std::nullopt;
}

// Takes a hyphen-minus or a minus sign off the text's start.
bool takeMinus(QString& text)
{
    if (!text.startsWith(QLatin1Char('-')) && !text.startsWith(QChar(0x2212)))
        return false;
    text = text.mid(1).trimmed();
    return true;
}

}  // namespace

std::optional<Number> read(const QString& typed)
{
    QString text = typed.trimmed();
    bool negative = false;
    if (text.startsWith(QLatin1Char('(')) && text.endsWith(QLatin1Char(')'))) {
        negative = true;
        text = text.mid(1, text.size() - 2).trimmed();
    }
    Number number;
    if (text.endsWith(QLatin1Char('%'))) {
        number.suffix = QStringLiteral("%");
        text.chop(1);
        text = text.trimmed();
    }
    if (number.suffix.isEmpty())
        number.suffix = takeCurrency(text, true);
    // A plus sign says what the number says without it: "+12%".
    if (text.startsWith(QLatin1Char('+')))
        text = text.mid(1).trimmed();
    negative ^= takeMinus(text);
    number.prefix = takeCurrency(text, false);
    if (!number.prefix.isEmpty() && !number.suffix.isEmpty())
        return std::nullopt;
    negative ^= takeMinus(text);
    const double times = takeMultiplier(text);
    // A fraction written without its nought: ".5".
    if (text.size() > 1 && (text.front() == QLatin1Char('.') || text.front() == QLatin1Char(','))
        && text.at(1).isDigit())
        text.prepend(QLatin1Char('0'));
    static const QRegularExpression digitsOnly(QStringLiteral("^[0-9][0-9 \\x{00A0}\\x{202F}'’.,]*$"));
    if (!digitsOnly.match(text).hasMatch() || !text.back().isDigit())
        return std::nullopt;
    static const QRegularExpression oneGroup(QStringLiteral("^[1-9][0-9]{0,2}([.,])[0-9]{3}$"));
    if (const QRegularExpressionMatch ambiguous = oneGroup.match(text); ambiguous.hasMatch()) {
        number.ambiguousMark = ambiguous.captured(1).front();
        const double fraction = QString(text).replace(number.ambiguousMark, QLatin1Char('.')).toDouble() * times;
        number.asFraction = negative ? -fraction : fraction;
    }
    const std::optional<QString> digits = plainDigits(text);
    bool ok = false;
    const double value = digits ? digits->toDouble(&ok) : 0;
    if (!ok)
        return std::nullopt;
    number.value = (negative ? -value : value) * times;
    // Too large for a number at all ("999…9bn"): no chart can show it.
    if (!std::isfinite(number.value))
        return std::nullopt;
    // As the value axis writes them: "$120", "kr 120", "120 €", "12%".
    if (number.prefix == QLatin1String("kr"))
        number.prefix += QLatin1Char(' ');
    if (!number.suffix.isEmpty() && number.suffix != QLatin1String("%"))
        number.suffix.prepend(QLatin1Char(' '));
    return number;
}

}  // namespace ChartNumbers
