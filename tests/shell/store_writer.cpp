// Writes one key again and again, saying after each write which round it was;
// the store tests kill it at a random moment and check what the store holds.
#include "shell/settings_store.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    SettingsStore store(QString::fromLocal8Bit(argv[1]));
    const QString filler(2000, QChar(0x00e9));
    for (int round = 0;; ++round) {
        store.saveSetting("FirstStatement_0", QString::number(round) + "\r\n" + filler);
        std::printf("%d\n", round);
        std::fflush(stdout);
    }
}
