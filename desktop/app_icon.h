#pragma once

#include <QIcon>

class QPainter;

namespace AppIcon {

// The sizes, in pixels, the icon is drawn at for desktops and launchers.
inline constexpr int sizes[] = {16, 24, 32, 48, 64, 128, 256};

// Paints the icon into the painter's square from (0, 0) to (64, 64); the
// window icon and the installed icon files are all drawn by it.
void paint(QPainter& painter);

// The program's icon: three rising bars on a teal tile, drawn at every size
// the desktop asks for.
QIcon icon();

}  // namespace AppIcon
