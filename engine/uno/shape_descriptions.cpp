#include "engine/uno/shape_descriptions.h"

#include "engine/uno/deck_properties.h"
#include "engine/uno/slide_shapes.h"
#include "engine/uno/uno_values.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <com/sun/star/awt/Point.hpp>
#include <com/sun/star/awt/Size.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XMasterPagesSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <cstdlib>

using namespace css;
using uno::Any;
using uno::Reference;
using uno::UNO_QUERY;
using uno::UNO_QUERY_THROW;

namespace {

// How far a shape may move in a round trip through another format, in
// hundredths of a millimetre (the deck's own format rounds positions).
constexpr int placeTolerance = 50;

Reference<drawing::XDrawPages> pagesOf(const Reference<lang::XComponent>& document, bool masters)
{
    if (masters)
        return Reference<drawing::XMasterPagesSupplier>(document, UNO_QUERY_THROW)->getMasterPages();
    return Reference<drawing::XDrawPagesSupplier>(document, UNO_QUERY_THROW)->getDrawPages();
}

QJsonArray placeOf(const Reference<drawing::XShape>& shape)
{
    const awt::Point position = shape->getPosition();
    const awt::Size size = shape->getSize();
    return {position.X, position.Y, size.Width, size.Height};
}

bool samePlace(const QJsonArray& one, const QJsonArray& other)
{
    for (int i = 0; i < 4; ++i)
        if (std::abs(one.at(i).toInt() - other.at(i).toInt()) > placeTolerance)
            return false;
    return true;
}

// The shape's properties where it has a description; null otherwise.
Reference<beans::XPropertySet> describable(const Reference<drawing::XShape>& shape)
{
    const Reference<beans::XPropertySet> properties(shape, UNO_QUERY);
    if (!properties.is() || !properties->getPropertySetInfo()->hasPropertyByName("Description"))
        return {};
    return properties;
}

QString descriptionOf(const Reference<beans::XPropertySet>& properties)
{
    return fromUno(properties->getPropertyValue("Description").get<rtl::OUString>());
}

}  // namespace

void keepShapeDescriptions(const Reference<lang::XComponent>& document)
{
    QJsonArray kept;
    for (const bool masters : {false, true}) {
        const Reference<drawing::XDrawPages> pages = pagesOf(document, masters);
        for (sal_Int32 page = 0; page < pages->getCount(); ++page) {
            const Reference<drawing::XShapes> shapes(pages->getByIndex(page), UNO_QUERY_THROW);
            for (const Reference<drawing::XShape>& shape :
                 slideShapes(shapes, QStringLiteral("page %1").arg(page + 1))) {
                const Reference<beans::XPropertySet> properties = describable(shape);
                if (!properties.is())
                    continue;
                const QString description = descriptionOf(properties);
                if (description.isEmpty())
                    continue;
                kept.append(QJsonObject{
                    {"masters", masters}, {"page", page}, {"place", placeOf(shape)}, {"description", description}});
            }
        }
    }
    DeckProperties::write(
        document, DeckProperties::alternativeTexts,
        kept.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(kept).toJson(QJsonDocument::Compact)));
}

void restoreShapeDescriptions(const Reference<lang::XComponent>& document)
{
    const QJsonArray kept =
        QJsonDocument::fromJson(DeckProperties::read(document, DeckProperties::alternativeTexts).toUtf8()).array();
    for (const QJsonValue& entry : kept) {
        const QJsonObject described = entry.toObject();
        const Reference<drawing::XDrawPages> pages = pagesOf(document, described["masters"].toBool());
        const int page = described["page"].toInt(-1);
        if (page < 0 || page >= pages->getCount())
            continue;
        const Reference<drawing::XShapes> shapes(pages->getByIndex(page), UNO_QUERY_THROW);
        for (const Reference<drawing::XShape>& shape : slideShapes(shapes, QStringLiteral("page %1").arg(page + 1))) {
            const Reference<beans::XPropertySet> target = describable(shape);
            if (!target.is() || !samePlace(placeOf(shape), described["place"].toArray())
                || !descriptionOf(target).isEmpty())
                continue;
            target->setPropertyValue("Description", Any(toUno(described["description"].toString())));
            break;
        }
    }
}
