#pragma once

#include <QString>
#include <QTextDocument>

// Section texts are stored with CR LF between lines; the editing box works
// with LF alone.
namespace SectionText {

inline QString forDisplay(QString stored)
{
    stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    stored.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return stored;
}

// The box's text as typed: its plain-text form would turn no-break spaces
// into plain ones, so the raw text is taken and only its line and paragraph
// breaks become CR LF.
inline QString forStore(const QTextDocument& box)
{
    QString text = box.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace SectionText
