#pragma once

#include <QRect>
#include <QtMath>

// Window layouts are given in twips; at 96 dpi fifteen twips make a pixel.
inline int twips(int value)
{
    return qRound(value / 15.0);
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}
