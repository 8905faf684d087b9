#include "generator/save_formats.h"

#include <QFileInfo>

#include <array>

namespace {

struct SaveFormat {
    const char* filter;
    const char* extension;
    SaveAsFileType format;
};

constexpr std::array kFormats{
    SaveFormat{"Powerpoint Files (*.ppt)", "ppt", SaveAsFileType::Presentation},
    SaveFormat{"PowerPoint Presentation (*.pptx)", "pptx", SaveAsFileType::OpenXMLPresentation},
    SaveFormat{"OpenDocument Presentation (*.odp)", "odp", SaveAsFileType::OpenDocumentPresentation},
    SaveFormat{"PDF Document (*.pdf)", "pdf", SaveAsFileType::PDF},
};

}  // namespace

QStringList saveFilters()
{
    QStringList filters;
    for (const SaveFormat& format : kFormats)
        filters << QString::fromLatin1(format.filter);
    return filters;
}

std::optional<SaveAsFileType> formatOfName(const QString& name)
{
    const QString extension = QFileInfo(name).suffix();
    for (const SaveFormat& format : kFormats)
        if (extension.compare(QLatin1String(format.extension), Qt::CaseInsensitive) == 0)
            return format.format;
    return std::nullopt;
}

SaveTarget saveTarget(const QString& typed, const QString& selectedFilter)
{
    if (const std::optional<SaveAsFileType> format = formatOfName(typed))
        return {typed, *format};
    for (const SaveFormat& format : kFormats)
        if (selectedFilter == QLatin1String(format.filter))
            return {typed + QLatin1Char('.') + QLatin1String(format.extension), format.format};
    return {typed + QStringLiteral(".ppt"), SaveAsFileType::Presentation};
}
