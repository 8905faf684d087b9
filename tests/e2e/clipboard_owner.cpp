// Holds a text on the clipboard of $DISPLAY, as a spreadsheet does after
// its cells are copied, until it is ended; says "ready" once it holds it.
//
//     clipboard_owner text
#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QGuiApplication::clipboard()->setText(QString::fromUtf8(argv[1]));
    std::puts("ready");
    std::fflush(stdout);
    return QGuiApplication::exec();
}
