#include "desktop/hover_pointer.h"

#include "desktop/cursor_file.h"
#include "shell/error_trap.h"
#include "shell/file_utils.h"
#include "shell/product.h"

#include <QMouseEvent>
#include <QWidget>

namespace {
const char* const kPointerOnMove = "orvendalePointerOnMove";
}

HoverPointer::HoverPointer(QWidget& window) : QObject(&window), mWindow(window) {}

void HoverPointer::setMousePointer(int value)
{
    mValue = value;
    if (value == Busy)
        mWindow.setCursor(Qt::WaitCursor);
    else if (value == Custom)
        mWindow.setCursor(mCustomImage.value_or(QCursor(Qt::PointingHandCursor)));
    else
        mWindow.unsetCursor();
}

void HoverPointer::loadCustomImage(const QString& cursorFile)
{
    mCustomImage = loadCursorFile(cursorFile);
}

void HoverPointer::loadHandCursor(ErrorTrap& trap, const QString& programFolder)
{
    const QString cursorFile = Product::besideProgram(programFolder, QStringLiteral("HAND-M.CUR"));
    if (trap.test(106, [&] { return Files::exists(cursorFile); }))
        trap.step(108, [&] { loadCustomImage(cursorFile); });
}

void HoverPointer::watchButton(QWidget* button)
{
    watch(button, Custom);
}

void HoverPointer::watchBackground(QWidget* background)
{
    watch(background, Default);
}

void HoverPointer::watch(QWidget* widget, int value)
{
    widget->setMouseTracking(true);
    widget->setProperty(kPointerOnMove, value);
    widget->installEventFilter(this);
}

bool HoverPointer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseMove || mValue == Busy)
        return false;
    // A move over a child that the child leaves unhandled reaches its parent
    // too; only moves over the watched widget's own area count.
    auto* widget = static_cast<QWidget*>(watched);
    const auto* move = static_cast<QMouseEvent*>(event);
    if (!widget->childAt(move->position().toPoint()))
        setMousePointer(widget->property(kPointerOnMove).toInt());
    return false;
}
