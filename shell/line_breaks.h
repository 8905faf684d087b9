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

// Whether c breaks a line: CR, LF, or the line and paragraph separators
// that Qt's text documents hold.
inline bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Every line break, of whichever kind, as CR LF. Written straight into a
// string of the right size, in two plain loops over the characters: a
// section box's whole text goes through here at every keystroke.
inline QString toCrLf(QStringView text)
{
    const char16_t* in = text.utf16();
    const qsizetype length = text.size();
    const auto startsPair = [&](qsizetype i) { return in[i] == u'\r' && i + 1 < length && in[i + 1] == u'\n'; };
    qsizetype size = length;
    for (qsizetype i = 0; i < length; ++i) {
        if (startsPair(i))
            ++i;
        else if (isBreak(in[i]))
            ++size;
    }
    QString crLf(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(crLf.data());
    for (qsizetype i = 0; i < length; ++i) {
        if (!isBreak(in[i])) {
            *out++ = in[i];
            continue;
        }
        if (startsPair(i))
            ++i;
        *out++ = u'\r';
        *out++ = u'\n';
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
