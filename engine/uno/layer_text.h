#pragma once

#include "shell/line_breaks.h"

#include <QString>

// Text crosses the layer with CR LF between paragraphs; the engine keeps one
// character, LF, per paragraph break (LineBreaks converts between the two).
// A lone CR or LF written through the layer also starts a new paragraph.
namespace LayerText {

// The engine's position for a position in the layer's form of the same text.
inline int engineOffset(const QString& layerText, int layerOffset)
{
    int pairs = 0;
    for (int i = 0; i + 1 < layerOffset && i + 1 < layerText.size(); ++i)
        if (layerText.at(i) == QLatin1Char('\r') && layerText.at(i + 1) == QLatin1Char('\n'))
            ++pairs;
    return layerOffset - pairs;
}

}  // namespace LayerText
