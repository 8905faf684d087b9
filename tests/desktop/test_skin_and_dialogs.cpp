#include "desktop/back_colors.h"
#include "desktop/controls.h"
#include "desktop/qt_dialogs.h"
#include "desktop/skin.h"
#include "shell/failure.h"
#include "shell/product.h"
#include "tests/support/fakes.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class SkinAndDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void skinIsLeftAloneWithoutTheSkinFile()
    {
        QTemporaryDir folder;
        FakeSkin skin;
        QWidget window;
        const QPalette before = window.palette();
        applySkin(window, skin, folder.path());
        QVERIFY(skin.calls.isEmpty());
        QCOMPARE(window.palette(), before);
    }

    void skinRecoloursPlainControlsThenDrivesTheEngineInOrder()
    {
        QTemporaryDir folder;
        QDir(folder.path()).mkpath("x");
        QFile sheet(folder.filePath("x/o.cjs"));
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("QWidget { color: navy; }");
        sheet.close();

        QWidget window;
        auto* frame = new QGroupBox(&window);
        auto* label = new QLabel(&window);
        auto* picture = new PictureBox(&window);
        auto* edit = new QLineEdit(&window);
        auto* button = new QPushButton(&window);
        BackColors::paintBackground(window, Qt::white);

        FakeSkin skin;
        applySkin(window, skin, folder.path());

        const QColor face = BackColors::buttonFaceColor();
        for (QWidget* painted :
             {&window, static_cast<QWidget*>(frame), static_cast<QWidget*>(label), static_cast<QWidget*>(picture)})
            QCOMPARE(painted->palette().color(QPalette::Window), face);
        QVERIFY(!edit->autoFillBackground());
        QVERIFY(!button->autoFillBackground());

        QCOMPARE(skin.calls, QStringList({
                                 "loadSkin " + folder.filePath("x/o.cjs") + " ''",
                                 "options",
                                 "setOptions 65",
                                 "setApplyToDialogs 1",
                                 "setEnabled 1",
                                 "applyWindow",
                             }));
    }

    void styleSheetSkinAppliesTheSheetAndReportsAnUnreadableFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("o.cjs");
        QFile sheet(path);
        QVERIFY(sheet.open(QIODevice::WriteOnly));
        sheet.write("QPushButton { color: red; }");
        sheet.close();

        QWidget window;
        StyleSheetSkin skin;
        skin.loadSkin(path, QString());
        skin.setEnabled(true);
        skin.applyWindow(window);
        QCOMPARE(window.styleSheet(), QString("QPushButton { color: red; }"));

        QVERIFY_THROWS_EXCEPTION(Failure, skin.loadSkin(folder.filePath("missing.cjs"), QString()));
    }

    void reportBoxIsAWarningTitledApplicationError()
    {
        Product::setApplicationTitleText("Some Title");
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            icon = box->icon();
            buttons = box->standardButtons();
            box->accept();
        });
        QtDialogs().errorReport("text");
        QCOMPARE(title, QString("Application Error"));
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(SkinAndDialogsTest)
#include "test_skin_and_dialogs.moc"
