// Copies one file over another with the program's own copy and prints the
// failure's description, or "copied"; the tests run it where a disk is full.
// With --record-and-wait it stands for a copy of the program that recorded
// temporary files and is killed.
// With --by-writer the copy is made the way the engine's exports are: a
// writer of its own writes the file, and says only its own words when it
// fails.
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/temporary_files.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    // Records the files as made by this copy of the program, says so and
    // waits to be killed.
    if (arguments.value(0) == QLatin1String("--record-and-wait")) {
        for (const QString& file : arguments.mid(1))
            TemporaryFiles::record(file);
        std::puts("recorded");
        std::fflush(stdout);
        return app.exec();
    }
    const bool byWriter = arguments.value(0) == QLatin1String("--by-writer");
    const QStringList files = arguments.mid(byWriter ? 1 : 0);
    if (files.size() != 2)
        return 2;
    try {
        if (byWriter)
            Files::writeReplacing(files[1], [&](const QString& path) {
                QFile out(path);
                QFile in(files[0]);
                if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly)
                    || out.write(in.readAll()) != in.size() || !out.flush())
                    throw Failure(QStringLiteral("SfxBaseModel::impl_store failed: 0x909"));
            });
        else
            Files::copyReplacing(files[0], files[1]);
        std::puts("copied");
    } catch (const Failure& failure) {
        std::puts(qPrintable(failure.description()));
    }
    return 0;
}
