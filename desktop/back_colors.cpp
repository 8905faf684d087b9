#include "desktop/back_colors.h"

#include "desktop/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QStyle>

namespace BackColors {

namespace {

bool isPlainControl(const QWidget* control)
{
    return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control)
           || qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

void recolour(QWidget& window, bool includePictureBoxes)
{
    const QColor face = buttonFaceColor();
    paintBackground(window, face);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool picture = qobject_cast<const PictureBox*>(control) != nullptr;
        if (isPlainControl(control) || (includePictureBoxes && picture))
            paintBackground(*control, face);
    }
}

}  // namespace

QColor buttonFaceColor()
{
    return QApplication::style()->standardPalette().color(QPalette::Button);
}

void paintBackground(QWidget& widget, const QColor& color)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void setSystemBackColors(QWidget& window)
{
    recolour(window, false);
}

void setSkinBackColors(QWidget& window)
{
    recolour(window, true);
}

}  // namespace BackColors
