#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// What the system says of a process, or of one of its threads, in its
// /proc stat file: its state letter ("R", "S", "T" when stopped, "Z" once
// it has ended) and the processor time it has used, in clock ticks.
struct ProcessStat {
    QByteArray state;  // empty when there is no such process
    qint64 cpuTicks = -1;

    static ProcessStat read(const QString& statFile)
    {
        QFile stat(statFile);
        if (!stat.open(QIODevice::ReadOnly))
            return {};
        const QByteArray line = stat.readAll();
        // Fields after the command name, which may hold blanks and
        // parentheses itself: state is the first, utime and stime the 12th
        // and 13th.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.isEmpty() || fields[0].isEmpty())
            return {};
        ProcessStat found{fields[0]};
        if (fields.size() >= 13)
            found.cpuTicks = fields[11].toLongLong() + fields[12].toLongLong();
        return found;
    }

    static ProcessStat of(qint64 pid)
    {
        return pid > 0 ? read(QStringLiteral("/proc/%1/stat").arg(pid)) : ProcessStat();
    }

    // A zombie has ended; only its entry is left for its parent to collect.
    bool running() const { return !state.isEmpty() && state != "Z"; }
    bool stopped() const { return state == "T" || state == "t"; }
};
