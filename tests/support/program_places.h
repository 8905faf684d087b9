#pragma once

// Where the real program's controls are, relative to their window's origin,
// and what its screen looks like at a few places: shared by the end-to-end
// test and the viewer bench, which click and read the same windows.
#include <QColor>
#include <QPoint>

// The input window, whose controls lie below its menu bar: their places
// count from the top left of the area below it.
inline constexpr int kMenuBarHeight = 22;
inline const QPoint kCreateButton(316, 21);
inline const QPoint kCompanyBox(300, 72);
inline const QPoint kPlanTitleBox(300, 135);
inline const QPoint kFirstSectionBox(300, 300);

// The viewer.
inline const QPoint kFrameCentre(268, 300);
inline const QPoint kBackButton(132, 613);
inline const QPoint kSaveButton(396, 613);
// Left part of the slide in the frame: dark blue on the title slide, the
// white body text area on a section slide.
inline const QPoint kSlideSample(100, 400);

// On the private display's 1280 x 1024 screen: the slide's left edge when
// the show fills the screen's width, and a place the viewer never covers.
inline const QPoint kScreenLeftEdge(1, 512);
inline const QPoint kOutsideViewer(1270, 1014);

inline bool isTitleSlideColour(QRgb pixel)
{
    return qRed(pixel) < 60 && qGreen(pixel) > 50 && qGreen(pixel) < 110 && qBlue(pixel) > 80 && qBlue(pixel) < 140;
}

inline bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 240 && qGreen(pixel) > 240 && qBlue(pixel) > 240;
}
