#include "viewer/save_formats.h"

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

SaveTarget saveTarget(const QString& typed, const QString& selectedFilter)
{
    const QString extension = QFileInfo(typed).suffix();
    for (const SaveFormat& format : kFormats)
        if (extension.compare(QLatin1String(format.extension), Qt::CaseInsensitive) == 0)
            return {typed, format.format};
    for (const SaveFormat& format : kFormats)
        if (selectedFilter == QLatin1String(format.filter))
            return {typed + QLatin1Char('.') + QLatin1String(format.extension), format.format};
    return {typed + QStringLiteral(".ppt"), SaveAsFileType::Presentation};
}
