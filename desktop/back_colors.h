#pragma once

#include <QColor>

class QWidget;

namespace BackColors {

// The system's button face colour.
QColor buttonFaceColor();

// Gives the widget a solid background of the given colour.
void paintBackground(QWidget& widget, const QColor& color);

// Recolours the window and its plain controls (option buttons, check boxes,
// frames, labels) to the button face colour; picture boxes, text boxes and
// buttons keep theirs.
void setSystemBackColors(QWidget& window);

// The same, picture boxes included: the recolouring a skin starts with.
void setSkinBackColors(QWidget& window);

}  // namespace BackColors
