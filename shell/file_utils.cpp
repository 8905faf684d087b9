#include "file_utils.h"

#include "error_trap.h"
#include "failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace Main {

bool fileExists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void deleteFile(const QString& path)
{
    QCoreApplication::processEvents();
    ErrorTrap trap = ErrorTrap::silent();
    trap.step(0, [&] {
        if (!QFile::remove(path))
            forceDeleteFile(path);
    });
}

void forceDeleteFile(const QString& path)
{
    QFile file(path);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (!file.remove())
        throw Failure(QStringLiteral("The file %1 could not be deleted: %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void copyFileReplacing(const QString& from, const QString& to)
{
    const QString shownFrom = QDir::toNativeSeparators(from);
    const QString shownTo = QDir::toNativeSeparators(to);
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("%1 could not be read: %2.").arg(shownFrom, source.errorString()));

    QTemporaryFile copy(QFileInfo(to).absolutePath() + QStringLiteral("/.orvendale-copy-XXXXXX"));
    if (!copy.open())
        throw Failure(QStringLiteral("%1 could not be written: %2.").arg(shownTo, copy.errorString()));
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw Failure(QStringLiteral("%1 could not be read: %2.").arg(shownFrom, source.errorString()));
        if (copy.write(chunk) != chunk.size())
            throw Failure(QStringLiteral("%1 could not be written: %2.").arg(shownTo, copy.errorString()));
    }
    if (!copy.flush() || ::fsync(copy.handle()) != 0)
        throw Failure(QStringLiteral("%1 could not be written: %2.").arg(shownTo, copy.errorString()));

    // The copy gets the permissions a new file of the user gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(copy.handle(), 0666 & ~mask);
    if (::rename(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(to).constData()) != 0)
        throw Failure(QStringLiteral("%1 could not be written: %2.").arg(shownTo, QString::fromLocal8Bit(std::strerror(errno))));
    copy.setAutoRemove(false);
}

QString tempFolder()
{
    for (const char* variable : {"TEMP", "XDG_RUNTIME_DIR"}) {
        const QString folder = qEnvironmentVariable(variable);
        if (!folder.isEmpty())
            return folder;
    }
    return QDir::tempPath();
}

}  // namespace Main
