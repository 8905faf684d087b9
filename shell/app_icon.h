#pragma once

#include <QIcon>

namespace Main {

// The program's icon: three rising bars on a teal tile, drawn at every size
// the desktop asks for.
QIcon applicationIcon();

}  // namespace Main
