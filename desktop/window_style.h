#pragma once

#include <QFont>
#include <Qt>

class QWidget;

// What the program's windows share in look and placement.
namespace WindowStyle {

QFont arialBold(qreal points);

// A fixed single border: title, close and minimise, no maximise.
Qt::WindowFlags fixedWindowFlags();

// Places the window in the middle of the screen.
void centreOnScreen(QWidget& window);

}  // namespace WindowStyle
