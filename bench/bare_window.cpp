// A bare Qt window of the plan window's size and kind: a menu bar, a button,
// two line edits and two tab widgets. The start-up benchmark's bound.
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(631, 707);
    auto* layout = new QVBoxLayout(&window);
    auto* menus = new QMenuBar;
    for (const char* menu : {"&Plan", "&Edit", "&Deck", "&Help"})
        menus->addMenu(QString::fromLatin1(menu))->addAction(QStringLiteral("Command"));
    layout->setMenuBar(menus);
    layout->addWidget(new QPushButton(QStringLiteral("Start Creating Template")));
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QLineEdit);
    for (int strip = 0; strip < 2; ++strip) {
        auto* tabs = new QTabWidget;
        for (int tab = 0; tab < 6; ++tab)
            tabs->addTab(new QWidget, QStringLiteral("Section %1").arg(tab + 1));
        layout->addWidget(tabs);
    }
    window.show();
    return app.exec();
}
