#pragma once

#include <QString>

// Section texts are stored with CR LF between lines; the editing box works
// with LF alone.
namespace SectionText {

inline QString forDisplay(QString stored)
{
    stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    stored.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return stored;
}

inline QString forStore(QString shown)
{
    return shown.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace SectionText
