#pragma once

#include <QString>
#include <QStringList>

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

// The lines of a text whose lines end in CR LF, LF or a lone CR, as other
// programs and pastes write them.
inline QStringList lines(const QString& text)
{
    return toLf(text).split(QLatin1Char('\n'));
}

}  // namespace LineBreaks
