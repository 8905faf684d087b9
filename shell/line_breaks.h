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

// Every line break, of whichever kind, as CR LF. Written straight into a
// string of the right size: a section box's whole text goes through here at
// every keystroke.
inline QString toCrLf(QStringView text)
{
    const qsizetype pairs = text.count(QStringLiteral("\r\n"));
    const qsizetype lone = text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n')) - 2 * pairs;
    QString crLf(text.size() + lone, Qt::Uninitialized);
    QChar* out = crLf.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\r') && text[i] != QLatin1Char('\n')) {
            *out++ = text[i];
            continue;
        }
        if (text[i] == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        *out++ = QLatin1Char('\r');
        *out++ = QLatin1Char('\n');
    }
    return crLf;
}

// The lines of a text whose lines end in CR LF, LF or a lone CR, as other
// programs and pastes write them.
inline QStringList lines(const QString& text)
{
    return toLf(text).split(QLatin1Char('\n'));
}

}  // namespace LineBreaks
