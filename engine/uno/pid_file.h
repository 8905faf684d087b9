#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

// What the pid file of an engine that this layer started records: the
// engine's process, the program that started it, the engine's own temporary
// folder, "spare" while it waits to be taken, and the temporary decks it
// opened, one a line.
struct PidFile {
    qint64 engine = 0;
    qint64 owner = 0;
    QString tempFolder;
    bool spare = false;
    QStringList decks;

    static PidFile read(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        return {lines.value(0).trimmed().toLongLong(), lines.value(1).trimmed().toLongLong(), lines.value(2),
                lines.value(3) == QLatin1String("spare"), lines.mid(4)};
    }

    // Rewritten in place: the file keeps the lock its owner holds on it.
    void write(const QString& path) const
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write((QStringList{QString::number(engine), QString::number(owner), tempFolder,
                                    spare ? QStringLiteral("spare") : QString()}
                        + decks)
                           .join(QLatin1Char('\n'))
                           .toUtf8());
    }
};
