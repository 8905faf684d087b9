#include "uno_engine.h"

#include "engine_instance.h"
#include "failure.h"
#include "layer_text.h"
#include "shape_names.h"

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPages.hpp>
#include <com/sun/star/drawing/XDrawPagesSupplier.hpp>
#include <com/sun/star/drawing/XDrawView.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

using namespace css;
using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY;
using css::uno::UNO_QUERY_THROW;

namespace {

beans::PropertyValue property(const char* name, const Any& value)
{
    beans::PropertyValue result;
    result.Name = rtl::OUString::createFromAscii(name);
    result.Value = value;
    return result;
}

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void showInWindow(const Reference<frame::XModel>& document, const Reference<drawing::XDrawPage>& page,
                  const Any& selection)
{
    const Reference<frame::XController> controller = document->getCurrentController();
    if (const Reference<drawing::XDrawView> view{controller, UNO_QUERY}; view.is())
        view->setCurrentPage(page);
    if (const Reference<view::XSelectionSupplier> selector{controller, UNO_QUERY}; selector.is())
        selector->select(selection);
}

class UnoPresentation : public Presentation {
public:
    UnoPresentation(std::shared_ptr<EngineInstance> instance, Reference<frame::XModel> document,
                    QString path)
        : mInstance(std::move(instance)), mDocument(std::move(document)), mPath(std::move(path))
    {
    }

    void Save() override
    {
        engineCall(QStringLiteral("Saving %1").arg(shownPath(mPath)), [&] {
            Reference<frame::XStorable>(mDocument, UNO_QUERY_THROW)->store();
        });
    }

    void Close() override
    {
        engineCall(QStringLiteral("Closing %1").arg(shownPath(mPath)), [&] {
            if (mInstance->selectedDocument == mDocument) {
                mInstance->selectedDocument.clear();
                mInstance->selectedShape.clear();
                mInstance->textSelected = false;
            }
            Reference<util::XCloseable>(mDocument, UNO_QUERY_THROW)->close(true);
        });
    }

    void selectSlide(int slide) override
    {
        engineCall(QStringLiteral("Showing slide %1").arg(slide), [&] {
            showInWindow(mDocument, page(slide), Any());
            mInstance->selectedDocument = mDocument;
        });
    }

    void selectShape(int slide, const QString& name) override
    {
        engineCall(QStringLiteral("Selecting shape \"%1\" on slide %2").arg(name).arg(slide), [&] {
            const Reference<drawing::XDrawPage> drawPage = page(slide);
            QStringList storedNames, types;
            for (sal_Int32 i = 0; i < drawPage->getCount(); ++i) {
                const Reference<drawing::XShape> shape(drawPage->getByIndex(i), UNO_QUERY_THROW);
                storedNames << fromUno(Reference<container::XNamed>(shape, UNO_QUERY_THROW)->getName());
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
                // The shape's type gives the kind of its default name.
                types << fromUno(shape->getShapeType());
#pragma GCC diagnostic pop
            }
            const int index = findShape(storedNames, types, name);
            if (index < 0)
                throw Failure(QStringLiteral("Slide %1 has no shape named \"%2\".").arg(slide).arg(name));
            const Reference<drawing::XShape> shape(drawPage->getByIndex(index), UNO_QUERY_THROW);
            showInWindow(mDocument, drawPage, Any(shape));
            mInstance->selectedDocument = mDocument;
            mInstance->selectedShape = shape;
            mInstance->textSelected = false;
        });
    }

private:
    Reference<drawing::XDrawPage> page(int slide)
    {
        const auto pages = Reference<drawing::XDrawPagesSupplier>(mDocument, UNO_QUERY_THROW)->getDrawPages();
        if (slide < 1 || slide > pages->getCount())
            throw Failure(QStringLiteral("The presentation has no slide %1; it has %2 slides.")
                              .arg(slide)
                              .arg(pages->getCount()));
        return Reference<drawing::XDrawPage>(pages->getByIndex(slide - 1), UNO_QUERY_THROW);
    }

    std::shared_ptr<EngineInstance> mInstance;
    Reference<frame::XModel> mDocument;
    QString mPath;
};

class UnoApplication : public PresentationApplication {
public:
    explicit UnoApplication(std::shared_ptr<EngineInstance> instance) : mInstance(std::move(instance)) {}

    QString name() override
    {
        engineCall(QStringLiteral("Reading the application's name"),
                   [&] { mInstance->desktop()->getCurrentFrame(); });
        return presentationApplicationName;
    }

    void setVisible(bool visible) override
    {
        engineCall(QStringLiteral("Showing the presentation application"), [&] {
            mInstance->visible = visible;
            if (mInstance->selectedDocument.is())
                mInstance->selectedDocument->getCurrentController()->getFrame()->getContainerWindow()->setVisible(visible);
        });
    }

    void setDisplayAlerts(bool on) override { mInstance->displayAlerts = on; }

    void Quit() override
    {
        if (mInstance->quitRequested())
            return;
        engineCall(QStringLiteral("Ending the presentation application"),
                   [&] { mInstance->desktop()->getCurrentFrame(); });
        mInstance->quit();
    }

    std::shared_ptr<Presentation> open(const QString& fileName, bool withWindow) override
    {
        const QString what = QStringLiteral("Opening the presentation %1").arg(shownPath(fileName));
        if (!QFileInfo(fileName).isFile())
            throw Failure(what + QStringLiteral(" failed: the file does not exist."));
        return engineCall(what, [&]() -> std::shared_ptr<Presentation> {
            Sequence<beans::PropertyValue> arguments(4);
            auto* argument = arguments.getArray();
            argument[0] = property("Hidden", Any(!withWindow));
            argument[1] = property("MacroExecutionMode", Any(document::MacroExecMode::NEVER_EXECUTE));
            argument[2] = property("UpdateDocMode", Any(document::UpdateDocMode::NO_UPDATE));
            argument[3] = property("ReadOnly", Any(false));
            const Reference<frame::XComponentLoader> loader(mInstance->desktop(), UNO_QUERY_THROW);
            const Reference<frame::XModel> document(
                loader->loadComponentFromURL(toUno(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()).toString()),
                                             "_blank", 0, arguments),
                UNO_QUERY);
            if (!document.is())
                throw Failure(QStringLiteral("the engine could not read it as a presentation."));
            if (withWindow) {
                mInstance->selectedDocument = document;
                mInstance->selectedShape.clear();
                mInstance->textSelected = false;
            }
            return std::make_shared<UnoPresentation>(mInstance, document, fileName);
        });
    }

    int presentationCount() override { return mInstance->presentationCount(); }

    void selectShapeText(int start, int length) override
    {
        const QString text = shapeText(QStringLiteral("Selecting text"));
        if (length < 0) {
            start = 1;
            length = static_cast<int>(text.size());
        }
        if (start < 1 || length < 0 || start - 1 + length > text.size())
            throw Failure(QStringLiteral("Characters %1 to %2 lie outside the selected shape's text of %3 characters.")
                              .arg(start)
                              .arg(start - 1 + length)
                              .arg(text.size()));
        mInstance->textSelected = true;
        mInstance->selectionStart = start - 1;
        mInstance->selectionLength = length;
    }

    QString selectedText() override
    {
        const QString text = shapeText(QStringLiteral("Reading the selected text"));
        if (!mInstance->textSelected)
            return text;
        return text.mid(mInstance->selectionStart, mInstance->selectionLength);
    }

    void replaceSelectedText(const QString& replacement) override
    {
        const QString text = shapeText(QStringLiteral("Replacing the selected text"));
        const int start = mInstance->textSelected ? mInstance->selectionStart : 0;
        const int length = mInstance->textSelected ? mInstance->selectionLength : static_cast<int>(text.size());
        engineCall(QStringLiteral("Replacing the selected text"), [&] {
            const Reference<text::XText> shapeText(mInstance->selectedShape, UNO_QUERY_THROW);
            const Reference<text::XTextCursor> cursor = shapeText->createTextCursor();
            cursor->gotoStart(false);
            moveRight(cursor, LayerText::engineOffset(text, start), false);
            moveRight(cursor, LayerText::engineOffset(text, start + length) - LayerText::engineOffset(text, start), true);
            cursor->setString(toUno(LayerText::toEngine(replacement)));
        });
        mInstance->textSelected = true;
        mInstance->selectionStart = start;
        mInstance->selectionLength = static_cast<int>(LayerText::fromEngine(LayerText::toEngine(replacement)).size());
    }

    void unselect() override
    {
        engineCall(QStringLiteral("Clearing the selection"), [&] {
            if (mInstance->selectedDocument.is())
                if (const Reference<view::XSelectionSupplier> selector{
                        mInstance->selectedDocument->getCurrentController(), UNO_QUERY};
                    selector.is())
                    selector->select(Any());
        });
        mInstance->selectedShape.clear();
        mInstance->textSelected = false;
    }

private:
    static void moveRight(const Reference<text::XTextCursor>& cursor, int count, bool expand)
    {
        while (count > 0) {
            const sal_Int16 step = static_cast<sal_Int16>(std::min(count, 32767));
            cursor->goRight(step, expand);
            count -= step;
        }
    }

    // The selected shape's whole text in the layer's form.
    QString shapeText(const QString& what)
    {
        if (!mInstance->selectedShape.is())
            throw Failure(what + QStringLiteral(" failed: no shape is selected in the active window."));
        return engineCall(what, [&] {
            const Reference<text::XText> text(mInstance->selectedShape, UNO_QUERY);
            if (!text.is())
                throw Failure(QStringLiteral("the selected shape holds no text."));
            return LayerText::fromEngine(fromUno(text->getString()));
        });
    }

    std::shared_ptr<EngineInstance> mInstance;
};

}  // namespace

EngineSettings EngineSettings::forUser()
{
    EngineSettings settings;
    settings.officeProgram = QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice.bin");
    settings.profileDir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                          + QStringLiteral("/Kervanel/Orvendale/engine-profile");
    settings.pipeName = QStringLiteral("orvendale-engine-%1").arg(getuid());
    return settings;
}

UnoEngine::UnoEngine(EngineSettings settings) : mSettings(std::move(settings)) {}

std::shared_ptr<PresentationApplication> UnoEngine::CreateObject()
{
    return std::make_shared<UnoApplication>(EngineInstance::reach(mSettings, true));
}

std::shared_ptr<PresentationApplication> UnoEngine::GetObject()
{
    return std::make_shared<UnoApplication>(EngineInstance::reach(mSettings, false));
}
