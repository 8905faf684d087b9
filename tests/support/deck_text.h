#pragma once

// Writing and reading a shape's text through the engine layer's selection
// chain, the way deck generation does it.
#include "engine/port/presentation_engine.h"

// Selects a shape and reads its whole text.
inline QString shapeText(PresentationApplication& app, Presentation& deck, int slide, const QString& shape)
{
    deck.Slides(slide).Shapes(shape).Select();
    app.ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
    return app.ActiveWindow().Selection().TextRange().Text();
}

// Replaces a shape's whole text.
inline void writeShape(PresentationApplication& app, Presentation& deck, int slide, const QString& shape,
                       const QString& text)
{
    deck.Slides(slide).Select();
    deck.Slides(slide).Shapes(shape).Select();
    app.ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Select();
    const int length = static_cast<int>(app.ActiveWindow().Selection().TextRange().Text().size());
    app.ActiveWindow().Selection().ShapeRange().TextFrame().TextRange().Characters(1, length).Select();
    app.ActiveWindow().Selection().TextRange().setText(text);
    app.ActiveWindow().Selection().Unselect();
}
