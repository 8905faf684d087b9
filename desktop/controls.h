#pragma once

#include <QFrame>

// A plain panel that other controls lie on. Recolouring for a skin treats it
// like frames and labels, the window's own recolouring leaves it alone.
class PictureBox : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
};
