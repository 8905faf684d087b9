#pragma once

// Values crossing into UNO: texts, file addresses and the named values that
// UNO calls take.
#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QUrl>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <rtl/ustring.hxx>

inline QString fromUno(const rtl::OUString& text)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text.getStr()), text.getLength());
}

inline rtl::OUString toUno(const QString& text)
{
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

inline com::sun::star::beans::PropertyValue unoProperty(const char* name, const com::sun::star::uno::Any& value)
{
    com::sun::star::beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

inline rtl::OUString fileUrl(const QString& path)
{
    return toUno(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString());
}

// A path as messages show it.
inline QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
