#pragma once

#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/drawing/XShapes.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>
#include <optional>

namespace css = com::sun::star;

// The active window's selection: the document shown, a shape in it, and
// perhaps a range of that shape's text (0-based, in the layer's text).
class ActiveSelection {
public:
    struct TextRange {
        int start = 0;
        int length = 0;
    };

    const css::uno::Reference<css::frame::XModel>& document() const { return mDocument; }
    // What selects in the active document's window.
    const css::uno::Reference<css::view::XSelectionSupplier>& selector() const { return mSelector; }
    const css::uno::Reference<css::drawing::XShape>& shape() const { return mShape; }
    // The selected shape's text, kept from its selection so that each use
    // does not ask the engine again; empty when the shape holds no text.
    const css::uno::Reference<css::text::XText>& shapeText() const { return mShapeText; }
    // The selected range of the shape's text; none means all of it.
    std::optional<TextRange> text() const { return mText; }

    // A document becomes the active one.
    void showDocument(css::uno::Reference<css::frame::XModel> document,
                      css::uno::Reference<css::view::XSelectionSupplier> selector)
    {
        mDocument = std::move(document);
        mSelector = std::move(selector);
    }
    // The shape is the index-th of the slide.
    void selectShape(css::uno::Reference<css::frame::XModel> document,
                     css::uno::Reference<css::view::XSelectionSupplier> selector,
                     css::uno::Reference<css::drawing::XShape> shape, css::uno::Reference<css::text::XText> shapeText,
                     css::uno::Reference<css::drawing::XShapes> slide, sal_Int32 index)
    {
        showDocument(std::move(document), std::move(selector));
        mShape = std::move(shape);
        mShapeText = std::move(shapeText);
        mSlide = std::move(slide);
        mIndex = index;
        mText.reset();
    }
    // The shape at the selected shape's place on its slide, as the slide
    // holds it now. Writing into a shape's text can leave the slide with a
    // new shape in the old one's place (seen right after a slide copy, about
    // one reading in a hundred and fifty); a reference from before, ours or
    // the window's selection, then answers as a shape without text settings.
    css::uno::Reference<css::drawing::XShape> shapeInPlace() const
    {
        if (!mSlide.is() || mIndex >= mSlide->getCount())
            return mShape;
        return css::uno::Reference<css::drawing::XShape>(mSlide->getByIndex(mIndex), css::uno::UNO_QUERY_THROW);
    }
    void selectText(int start, int length) { mText = TextRange{start, length}; }
    void unselect()
    {
        mShape.clear();
        mShapeText.clear();
        mSlide.clear();
        mText.reset();
    }
    // A document that goes away takes the selection with it.
    void forget(const css::uno::Reference<css::frame::XModel>& document)
    {
        if (mDocument == document)
            clear();
    }
    void clear()
    {
        mDocument.clear();
        mSelector.clear();
        unselect();
    }

private:
    css::uno::Reference<css::frame::XModel> mDocument;
    css::uno::Reference<css::view::XSelectionSupplier> mSelector;
    css::uno::Reference<css::drawing::XShape> mShape;
    css::uno::Reference<css::text::XText> mShapeText;
    std::optional<TextRange> mText;
    css::uno::Reference<css::drawing::XShapes> mSlide;
    sal_Int32 mIndex = 0;
};
