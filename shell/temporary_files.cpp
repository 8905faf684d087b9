#include "shell/temporary_files.h"

#include "shell/product.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <unistd.h>

namespace TemporaryFiles {

namespace {

QString recordsFolder()
{
    return Product::userDataFolder() + QStringLiteral("/temporary-files");
}

// This copy's record: the files it made, written whole at each change into
// a file it holds locked.
class OwnRecord {
public:
    void add(const QString& path)
    {
        std::lock_guard lock(mMutex);
        if (!mFiles.contains(path)) {
            mFiles << path;
            write();
        }
    }

    void remove(const QString& path)
    {
        std::lock_guard lock(mMutex);
        if (mFiles.removeAll(path) > 0)
            write();
    }

    QStringList takeAll()
    {
        std::lock_guard lock(mMutex);
        const QStringList files = std::exchange(mFiles, {});
        if (mFd >= 0) {
            ::unlink(QFile::encodeName(mPath).constData());
            ::close(std::exchange(mFd, -1));
        }
        return files;
    }

private:
    void write()
    {
        if (mFd < 0 && !open())
            return;
        const QByteArray lines = QFile::encodeName(mFiles.join(QLatin1Char('\n')));
        if (::ftruncate(mFd, 0) == 0) [[maybe_unused]]
            const auto written = ::pwrite(mFd, lines.constData(), static_cast<size_t>(lines.size()), 0);
    }

    // Made under a name no other copy looks at, locked, then named as a
    // record: another copy never sees it unlocked and takes it for one left
    // behind.
    bool open()
    {
        const QString folder = recordsFolder();
        QDir().mkpath(folder);
        const QString name = QStringLiteral("%1-%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QByteArray making = QFile::encodeName(folder + QStringLiteral("/.") + name);
        mPath = folder + QLatin1Char('/') + name + QStringLiteral(".list");
        mFd = ::open(making.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (mFd >= 0 && ::flock(mFd, LOCK_EX | LOCK_NB) == 0
            && ::rename(making.constData(), QFile::encodeName(mPath).constData()) == 0)
            return true;
        if (mFd >= 0)
            ::close(std::exchange(mFd, -1));
        ::unlink(making.constData());
        return false;
    }

    std::mutex mMutex;
    QStringList mFiles;
    QString mPath;
    int mFd = -1;
};

OwnRecord& own()
{
    static OwnRecord* record = new OwnRecord;  // lives as long as the process
    return *record;
}

// A deck, or a copy the engine was writing, goes with the lock file the
// engine keeps beside it; an export's working folder with everything in it.
void removeFile(const QString& path)
{
    if (!isTemporaryFile(path))
        return;
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        removeDeck(path);
}

}  // namespace

void record(const QString& path)
{
    own().add(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

void forget(const QString& path)
{
    own().remove(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
}

void removeAll()
{
    for (const QString& file : own().takeAll())
        removeFile(file);
}

void removeLeftBehind()
{
    const QFileInfoList records = QDir(recordsFolder()).entryInfoList({QStringLiteral("*.list")}, QDir::Files);
    for (const QFileInfo& record : records) {
        const QByteArray path = QFile::encodeName(record.absoluteFilePath());
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A copy still running holds its record's lock.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            QFile file;
            if (file.open(fd, QIODevice::ReadOnly))
                for (const QString& left :
                     QFile::decodeName(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
                    removeFile(left);
            ::unlink(path.constData());
        }
        ::close(fd);
    }
}

QString deckLockFile(const QString& deck)
{
    const QFileInfo file(deck);
    return file.dir().filePath(QStringLiteral(".~lock.%1#").arg(file.fileName()));
}

void removeDeck(const QString& path)
{
    QFile::remove(path);
    QFile::remove(deckLockFile(path));
}

bool isTemporaryFile(const QString& path)
{
    static const QRegularExpression names(
        QStringLiteral("^(ps[1-9]{8}\\.ppt|\\.orvendale-copy-[0-9a-f]{8}|orvendale-export-[A-Za-z0-9]{6})$"));
    return names.match(QFileInfo(path).fileName()).hasMatch();
}

}  // namespace TemporaryFiles
