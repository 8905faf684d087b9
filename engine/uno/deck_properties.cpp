#include "engine/uno/deck_properties.h"

#include "engine/uno/uno_values.h"

#include <com/sun/star/beans/PropertyAttribute.hpp>
#include <com/sun/star/beans/XPropertyContainer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/beans/XPropertySetInfo.hpp>
#include <com/sun/star/document/XDocumentProperties.hpp>
#include <com/sun/star/document/XDocumentPropertiesSupplier.hpp>

using namespace css;
using uno::Any;
using uno::Reference;
using uno::UNO_QUERY_THROW;

namespace DeckProperties {

namespace {

Reference<beans::XPropertyContainer> userProperties(const Reference<lang::XComponent>& document)
{
    return Reference<document::XDocumentPropertiesSupplier>(document, UNO_QUERY_THROW)
        ->getDocumentProperties()
        ->getUserDefinedProperties();
}

}  // namespace

QString read(const Reference<lang::XComponent>& document, const QString& name)
{
    const Reference<beans::XPropertySet> properties(userProperties(document), UNO_QUERY_THROW);
    rtl::OUString text;
    if (properties->getPropertySetInfo()->hasPropertyByName(toUno(name)))
        properties->getPropertyValue(toUno(name)) >>= text;
    return fromUno(text);
}

void write(const Reference<lang::XComponent>& document, const QString& name, const QString& text)
{
    const Reference<beans::XPropertyContainer> container = userProperties(document);
    const Reference<beans::XPropertySet> properties(container, UNO_QUERY_THROW);
    if (!properties->getPropertySetInfo()->hasPropertyByName(toUno(name))) {
        if (!text.isEmpty())
            container->addProperty(toUno(name), beans::PropertyAttribute::REMOVABLE, Any(toUno(text)));
    } else if (read(document, name) != text) {
        properties->setPropertyValue(toUno(name), Any(toUno(text)));
    }
}

}  // namespace DeckProperties
