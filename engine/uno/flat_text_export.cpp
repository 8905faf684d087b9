#include "engine/uno/flat_text_export.h"

#include "engine/uno/cancel_every_question.h"
#include "engine/uno/engine_call.h"
#include "engine/uno/engine_instance.h"

#include <QFileInfo>

#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/task/XInteractionHandler.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <rtl/ref.hxx>
#include <vector>

using namespace css;
using namespace css::uno;

namespace {

// The word processor's own filter for each kind of document the import
// reads: the engine never guesses, so a damaged file fails rather than
// being read as plain text.
rtl::OUString filterFor(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("docx"))
        return "MS Word 2007 XML";
    if (suffix == QLatin1String("doc"))
        return "MS Word 97";
    if (suffix == QLatin1String("odt"))
        return "writer8";
    if (suffix == QLatin1String("rtf"))
        return "Rich Text Format";
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return "HTML (StarWriter)";
    return "Text (encoded)";
}

// Whether the engine has its word processor: without it, the word
// processor's filters are not registered.
bool hasWordProcessor(const EngineConnection& connection)
{
    const Reference<container::XNameAccess> filters(
        connection.context()->getServiceManager()->createInstanceWithContext("com.sun.star.document.FilterFactory",
                                                                             connection.context()),
        UNO_QUERY_THROW);
    return filters->hasByName("writer8") && filters->hasByName("OpenDocument Text Flat XML");
}

}  // namespace

void saveDocumentAsFlatText(EngineInstance& instance, const QString& fileName, const QString& flatTextFile)
{
    const QString what = QStringLiteral("Reading the document %1").arg(shownPath(fileName));
    if (!QFileInfo(fileName).isFile())
        throw Failure(what + QStringLiteral(" failed: the file does not exist."));
    if (QFileInfo(fileName).size() == 0)
        throw Failure(what + QStringLiteral(" failed: the file is empty."));
    engineCall(what, [&] {
        if (!hasWordProcessor(instance.connection()))
            throw Failure(what
                          + QStringLiteral(" failed: LibreOffice's word processor is not installed. Install "
                                           "the package libreoffice-writer, then import the document again."));
        const rtl::Reference<CancelEveryQuestion> questions(new CancelEveryQuestion);
        const rtl::OUString filter = filterFor(fileName);
        std::vector<beans::PropertyValue> loadArguments = {
            unoProperty("FilterName", Any(filter)),
            unoProperty("Hidden", Any(true)),
            unoProperty("ReadOnly", Any(true)),
            unoProperty("MacroExecutionMode", Any(document::MacroExecMode::NEVER_EXECUTE)),
            unoProperty("UpdateDocMode", Any(document::UpdateDocMode::NO_UPDATE)),
            unoProperty("InteractionHandler", Any(Reference<task::XInteractionHandler>(questions.get()))),
        };
        // Plain text is read as UTF-8 (which ASCII is too).
        if (filter == "Text (encoded)")
            loadArguments.push_back(unoProperty("FilterOptions", Any(rtl::OUString("UTF8,LF,,,"))));
        const Sequence<beans::PropertyValue> arguments(loadArguments.data(),
                                                       static_cast<sal_Int32>(loadArguments.size()));
        const Reference<frame::XComponentLoader> loader(instance.connection().desktop(), UNO_QUERY_THROW);
        Reference<lang::XComponent> document;
        try {
            document = loader->loadComponentFromURL(fileUrl(fileName), "_blank", 0, arguments);
        } catch (const Exception&) {
            if (!questions->askedForPassword)
                throw;
        }
        if (questions->askedForPassword) {
            if (const Reference<util::XCloseable> opened{document, UNO_QUERY}; opened.is())
                opened->close(true);
            throw DocumentNeedsPassword(
                QStringLiteral("%1 is protected with a password. Open it in your word processor, save a copy "
                               "without the password, and import that copy.")
                    .arg(shownPath(fileName)));
        }
        const Reference<util::XCloseable> closeable(document, UNO_QUERY);
        if (!Reference<text::XTextDocument>(document, UNO_QUERY).is()) {
            if (closeable.is())
                closeable->close(true);
            throw Failure(what
                          + QStringLiteral(" failed: the word processor could not read it as a document (it "
                                           "may be damaged, or of another kind)."));
        }
        try {
            const beans::PropertyValue flatText =
                unoProperty("FilterName", Any(rtl::OUString("OpenDocument Text Flat XML")));
            Reference<frame::XStorable>(document, UNO_QUERY_THROW)
                ->storeToURL(fileUrl(flatTextFile), Sequence<beans::PropertyValue>(&flatText, 1));
        } catch (...) {
            closeable->close(true);
            throw;
        }
        closeable->close(true);
    });
}
