#include "tests/support/written_documents.h"

#include "engine/uno/engine_call.h"
#include "engine/uno/engine_instance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/util/XCloseable.hpp>

using namespace css;
using namespace css::uno;

void writeDocument(const EngineSettings& settings, const QString& html, const QString& target, const QString& password)
{
    static const QMap<QString, QString> filters = {
        {"docx", "MS Word 2007 XML"}, {"odt", "writer8"}, {"doc", "MS Word 97"}, {"rtf", "Rich Text Format"}};
    const QString filter = filters.value(QFileInfo(target).suffix());
    if (filter.isEmpty())
        throw Failure("no format for " + target);
    QTemporaryDir folder;
    const QString source = folder.filePath("source.html");
    QFile file(source);
    if (!file.open(QIODevice::WriteOnly) || file.write(html.toUtf8()) < 0)
        throw Failure("the source cannot be written");
    file.close();
    const auto engine = EngineInstance::reach(settings, true);
    const auto quit = qScopeGuard([&] { engine->quit(); });
    engineCall("Writing " + target, [&] {
        const beans::PropertyValue load[] = {unoProperty("Hidden", Any(true)),
                                             unoProperty("FilterName", Any(rtl::OUString("HTML (StarWriter)")))};
        const Reference<frame::XComponentLoader> loader(engine->connection().desktop(), UNO_QUERY_THROW);
        const Reference<lang::XComponent> document =
            loader->loadComponentFromURL(fileUrl(source), "_blank", 0, Sequence<beans::PropertyValue>(load, 2));
        const beans::PropertyValue store[] = {unoProperty("FilterName", Any(toUno(filter))),
                                              unoProperty("Password", Any(toUno(password)))};
        Reference<frame::XStorable>(document, UNO_QUERY_THROW)
            ->storeToURL(fileUrl(target), Sequence<beans::PropertyValue>(store, password.isEmpty() ? 1 : 2));
        Reference<util::XCloseable>(document, UNO_QUERY_THROW)->close(true);
    });
}
