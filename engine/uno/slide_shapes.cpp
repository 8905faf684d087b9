#include "engine/uno/slide_shapes.h"

#include "engine/uno/fetched_once.h"

#include <com/sun/star/container/XChild.hpp>

using namespace css;
using namespace css::uno;

std::vector<Reference<drawing::XShape>> slideShapes(const Reference<drawing::XShapes>& page, const QString& what)
{
    const Reference<XInterface> pageItself(page, UNO_QUERY_THROW);
    return fetchEachOnce<Reference<drawing::XShape>>(
        static_cast<int>(page->getCount()),
        [&](int i) { return Reference<drawing::XShape>(page->getByIndex(i), UNO_QUERY_THROW); },
        [&](const Reference<drawing::XShape>& shape) {
            return Reference<container::XChild>(shape, UNO_QUERY_THROW)->getParent() == pageItself;
        },
        what);
}
