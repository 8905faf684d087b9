#include "file_utils.h"

#include "error_trap.h"
#include "failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

}  // namespace Main
