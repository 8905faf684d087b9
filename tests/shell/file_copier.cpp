// Copies one file over another with the program's own copy and prints the
// failure's description, or "copied"; the tests run it where a disk is full.
#include "failure.h"
#include "file_utils.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    try {
        Main::copyFileReplacing(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
        std::puts("copied");
    } catch (const Failure& failure) {
        std::puts(qPrintable(failure.description()));
    }
    return 0;
}
