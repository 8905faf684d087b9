#pragma once

#include "line_breaks.h"

#include <QString>
#include <QTextDocument>

// Section texts are stored with CR LF between lines; the editing box works
// with LF alone.
namespace SectionText {

inline QString forDisplay(const QString& stored)
{
    return LineBreaks::toLf(stored);
}

// The box's text as typed: its plain-text form would turn no-break spaces
// into plain ones, so the raw text is taken and only its line and paragraph
// breaks become CR LF.
inline QString forStore(const QTextDocument& box)
{
    QString text = box.toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return LineBreaks::toCrLf(text);
}

}  // namespace SectionText
