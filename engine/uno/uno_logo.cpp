#include "engine/uno/uno_logo.h"

#include "engine/uno/uno_values.h"
#include "shell/failure.h"

#include <QDir>

#include <algorithm>
#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/LineStyle.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/graphic/GraphicProvider.hpp>
#include <com/sun/star/graphic/XGraphic.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/text/XText.hpp>
#include <vector>

using namespace css;
using uno::Any;
using uno::Reference;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

namespace {

// The picture's proportions: its size on paper where it states one, in
// pixels otherwise.
awt::Size naturalSize(const Reference<graphic::XGraphic>& picture)
{
    const Reference<beans::XPropertySet> properties(picture, UNO_QUERY_THROW);
    awt::Size size;
    properties->getPropertyValue("Size100thMM") >>= size;
    if (size.Width <= 0 || size.Height <= 0)
        properties->getPropertyValue("SizePixel") >>= size;
    return size.Width > 0 && size.Height > 0 ? size : awt::Size(1, 1);
}

struct Area {
    Reference<drawing::XDrawPage> master;
    Reference<drawing::XShape> shape;
};

bool isLogoArea(const Reference<drawing::XShape>& shape)
{
    const Reference<lang::XServiceInfo> kind(shape, UNO_QUERY_THROW);
    if (!kind->supportsService("com.sun.star.drawing.RectangleShape")
        && !kind->supportsService("com.sun.star.drawing.CustomShape"))
        return false;
    const Reference<beans::XPropertySet> properties(shape, UNO_QUERY_THROW);
    const Reference<text::XText> text(shape, UNO_QUERY);
    return properties->getPropertyValue("FillStyle").get<drawing::FillStyle>() == drawing::FillStyle_NONE
           && properties->getPropertyValue("LineStyle").get<drawing::LineStyle>() == drawing::LineStyle_NONE
           && (!text.is() || text->getString().isEmpty());
}

std::vector<Area> logoAreas(const Reference<lang::XComponent>& document)
{
    std::vector<Area> areas;
    const Reference<drawing::XDrawPages> masters =
        Reference<drawing::XMasterPagesSupplier>(document, UNO_QUERY_THROW)->getMasterPages();
    for (sal_Int32 m = 0; m < masters->getCount(); ++m) {
        const Reference<drawing::XDrawPage> master(masters->getByIndex(m), UNO_QUERY_THROW);
        for (sal_Int32 i = 0; i < master->getCount(); ++i)
            if (const Reference<drawing::XShape> shape(master->getByIndex(i), UNO_QUERY_THROW); isLogoArea(shape))
                areas.push_back({master, shape});
    }
    return areas;
}

}  // namespace

void placeLogo(const Reference<uno::XComponentContext>& context, const Reference<lang::XComponent>& document,
               const QString& file, const QString& description)
{
    uno::Sequence<beans::PropertyValue> media(1);
    media.getArray()[0] = unoProperty("URL", Any(fileUrl(file)));
    const Reference<graphic::XGraphic> picture = graphic::GraphicProvider::create(context)->queryGraphic(media);
    if (!picture.is())
        throw Failure(QStringLiteral("The logo %1 could not be read by the presentation engine.")
                          .arg(QDir::toNativeSeparators(file)));
    const awt::Size natural = naturalSize(picture);
    const Reference<lang::XMultiServiceFactory> factory(document, UNO_QUERY_THROW);
    for (const Area& area : logoAreas(document)) {
        const awt::Point at = area.shape->getPosition();
        const awt::Size room = area.shape->getSize();
        // The card keeps a margin of an eighth of its shorter side round the
        // logo, and is as wide as the logo needs: a tall logo does not stand
        // on a wide card. It stays where the area starts.
        const sal_Int32 margin = std::min(room.Width, room.Height) / 8;
        const double scale = std::min(double(room.Width - 2 * margin) / natural.Width,
                                      double(room.Height - 2 * margin) / natural.Height);
        const awt::Size size(sal_Int32(natural.Width * scale), sal_Int32(natural.Height * scale));
        const Reference<beans::XPropertySet> card(area.shape, UNO_QUERY_THROW);
        card->setPropertyValue("FillStyle", Any(drawing::FillStyle_SOLID));
        card->setPropertyValue("FillColor", Any(sal_Int32(0xFFFFFF)));
        area.shape->setSize(awt::Size(size.Width + 2 * margin, room.Height));

        const Reference<drawing::XShape> shape(factory->createInstance("com.sun.star.drawing.GraphicObjectShape"),
                                               UNO_QUERY_THROW);
        area.master->add(shape);
        shape->setPosition(awt::Point(at.X + margin, at.Y + (room.Height - size.Height) / 2));
        shape->setSize(size);
        const Reference<beans::XPropertySet> properties(shape, UNO_QUERY_THROW);
        properties->setPropertyValue("Graphic", Any(picture));
        properties->setPropertyValue("Description", Any(toUno(description)));
    }
}
