#pragma once

#include <QString>

// The program keeps CR LF between lines, as its stored plans and messages
// have it; Qt's boxes and the engine break lines on LF alone. A lone CR or LF
// counts as a line break too.
namespace LineBreaks {

// Every CR LF pair and lone CR as LF.
inline QString toLf(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// Every line break, of whichever kind, as CR LF.
inline QString toCrLf(const QString& text)
{
    return toLf(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace LineBreaks
