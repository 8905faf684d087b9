// The hand pointer over buttons: its cursor file and where it shows.
#include "desktop/cursor_file.h"
#include "desktop/hover_pointer.h"
#include "shell/failure.h"

#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

void moveOver(QWidget* widget, QPointF at = QPointF(1, 1))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

}  // namespace

class HoverPointerTest : public QObject {
    Q_OBJECT

private slots:
    void shippedCursorLoadsWithItsHotSpot()
    {
        const QString path = QCoreApplication::applicationDirPath() + "/../program/HAND-M.CUR";
        const QCursor cursor = loadCursorFile(path);
        QCOMPARE(cursor.pixmap().size(), QSize(32, 32));
        QCOMPARE(cursor.hotSpot(), QPoint(9, 1));
    }

    void brokenCursorFileIsAFailureThatNamesTheFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("HAND-M.CUR");
        QFile broken(path);
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a cursor at all, just some text");
        broken.close();
        try {
            loadCursorFile(path);
            QFAIL("loading should have failed");
        } catch (const Failure& failure) {
            QVERIFY(failure.description().contains(path));
        }
    }

    void pointerFollowsButtonsAndBackgroundButNeverReplacesBusy()
    {
        QWidget window;
        auto* button = new QPushButton(&window);
        auto* edit = new QLineEdit(&window);
        window.resize(200, 200);
        button->setGeometry(10, 10, 50, 20);
        edit->setGeometry(10, 40, 50, 20);
        const QPointF background(150, 150);
        HoverPointer pointer(window);
        pointer.watchButton(button);
        pointer.watchBackground(&window);

        moveOver(button);
        QCOMPARE(pointer.mousePointer(), HoverPointer::Custom);
        QVERIFY(!pointer.hasCustomImage());
        QCOMPARE(window.cursor().shape(), Qt::PointingHandCursor);
        moveOver(edit);
        QCOMPARE(pointer.mousePointer(), HoverPointer::Custom);
        moveOver(&window, background);
        QCOMPARE(pointer.mousePointer(), HoverPointer::Default);

        pointer.setMousePointer(HoverPointer::Busy);
        moveOver(button);
        moveOver(&window, background);
        QCOMPARE(pointer.mousePointer(), HoverPointer::Busy);
    }
};

QTEST_MAIN(HoverPointerTest)
#include "test_hover_pointer.moc"
