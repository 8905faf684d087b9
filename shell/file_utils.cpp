#include "shell/file_utils.h"

#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/temporary_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace Files {

bool exists(const QString& path)
{
    return !path.isEmpty() && QFileInfo::exists(path);
}

void remove(const QString& path)
{
    QCoreApplication::processEvents();
    ErrorTrap trap = ErrorTrap::silent();
    trap.step(0, [&] {
        if (!QFile::remove(path))
            forceRemove(path);
    });
}

QByteArray readRegularFile(const QString& path, qint64 most, const QString& largerThan)
{
    // O_NONBLOCK: opening a pipe no one writes to would wait for good.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw Failure(QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    const auto closing = qScopeGuard([fd] { ::close(fd); });
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        throw Failure(QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (S_ISDIR(info.st_mode))
        throw Failure(QStringLiteral("it is a folder"));
    if (!S_ISREG(info.st_mode))
        throw Failure(QStringLiteral("it is not a file but a device, a pipe or a socket"));
    const auto tooLarge = [&](qint64 bytes) {
        return Failure(QStringLiteral("at %1 MB it is far larger than %2").arg(bytes / (1024 * 1024)).arg(largerThan));
    };
    if (info.st_size > most)
        throw tooLarge(info.st_size);
    // The size may grow while it is read: never more than one byte past
    // the most is read.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > most)
                throw tooLarge(bytes.size());
            bytes.resize(std::min<qint64>(most + 1, bytes.size() * 2 + 4096));
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Failure(QStringLiteral("it cannot be read (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > most)
        throw tooLarge(filled);
    bytes.truncate(filled);
    return bytes;
}

QString fileBehindLinks(const QString& path)
{
    // One link at a time: a chain whose last file is not made yet still
    // leads to it. A loop ends where the system's own limit would.
    QString file = path;
    for (int hop = 0; hop < 40 && QFileInfo(file).isSymLink(); ++hop)
        file = QFileInfo(file).symLinkTarget();
    return file;
}

bool sameFile(const QString& a, const QString& b)
{
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0
           && ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev
           && first.st_ino == second.st_ino;
}

void forceRemove(const QString& path)
{
    QFile file(path);
    file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (!file.remove())
        throw Failure(QStringLiteral("The file %1 could not be deleted: %2.")
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
}

namespace {

// What went wrong with a write, in words: a full disk is named as such.
QString writeError(int error)
{
    if (error == ENOSPC || error == EDQUOT)
        return QStringLiteral("the disk is full");
    return QString::fromLocal8Bit(std::strerror(error));
}

// True when the disk that holds path has less than a megabyte left for the
// user: too little for any deck.
bool almostFull(const QString& path)
{
    struct statvfs disk {};
    return ::statvfs(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &disk) == 0
           && static_cast<unsigned long long>(disk.f_bavail) * disk.f_frsize < (1ULL << 20);
}

Failure cannotWrite(const QString& path, int error)
{
    return Failure(
        QStringLiteral("%1 could not be written: %2.").arg(QDir::toNativeSeparators(path), writeError(error)));
}

// A new file beside the destination, removed again unless it is kept: under
// a name of its own, or under the destination's name and ".new" for a
// writer that holds the destination's lock (the file system does less work
// for a name it saw before). It is created with the mode every new file of
// the user gets, so nothing has to change the process's umask, and takes
// the mode of the file it replaces.
class FileBeside {
public:
    // Unique and Staging make the file; Written takes the file at the path
    // given as another writer left it.
    enum class Name { Unique, Staging, Written };

    explicit FileBeside(const QString& destination, Name name = Name::Unique)
    {
        if (name == Name::Written) {
            mPath = QFile::encodeName(destination);
            return;
        }
        const QString folder = QFileInfo(destination).absolutePath();
        mUnique = name == Name::Unique;
        if (mUnique)
            removeStaleCopies(folder);
        if (name == Name::Staging) {
            mPath = QFile::encodeName(destination + QStringLiteral(".new"));
            mFd = ::open(mPath.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
        }
        for (int attempt = 0; name == Name::Unique && attempt < 100 && mFd < 0; ++attempt) {
            mPath = QFile::encodeName(QStringLiteral("%1/%2%3")
                                          .arg(folder, QLatin1String(kUniquePrefix))
                                          .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
            // Recorded first: should the program be killed while the copy
            // is written (by the engine, which may go on writing), the next
            // start removes it.
            TemporaryFiles::record(path());
            mFd = ::open(mPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (mFd < 0)
                TemporaryFiles::forget(path());
            if (mFd < 0 && errno != EEXIST)
                break;
        }
        mError = errno;
        struct stat old {
        }, made{};
        if (mFd >= 0 && ::stat(QFile::encodeName(destination).constData(), &old) == 0 && ::fstat(mFd, &made) == 0
            && (old.st_mode & 07777) != (made.st_mode & 07777))
            ::fchmod(mFd, old.st_mode & 07777);
    }
    ~FileBeside()
    {
        if (mFd >= 0)
            ::close(mFd);
        if (!mKept)
            ::unlink(mPath.constData());
        if (mUnique)
            TemporaryFiles::forget(path());
    }
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    bool isOpen() const { return mFd >= 0; }
    QString path() const { return QFile::decodeName(mPath); }

    // The file as another writer left it is made durable and put in the
    // destination's place, with the mode of the file it replaces.
    bool replaceWritten(const QString& destination)
    {
        mFd = ::open(mPath.constData(), O_RDONLY | O_CLOEXEC);
        if (mFd < 0)
            return fail();
        struct stat old {};
        if (::stat(QFile::encodeName(destination).constData(), &old) == 0)
            ::fchmod(mFd, old.st_mode & 07777);
        return replace(destination);
    }
    int error() const { return mError; }

    bool write(const QByteArray& bytes)
    {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t written = ::write(mFd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written < 0)
                return fail();
            done += written;
        }
        return true;
    }

    // Makes the whole file durable and puts it in the destination's place;
    // the folder is flushed after the rename, so that the new name survives
    // a power cut too, where the file system can: some cannot flush a folder
    // (EINVAL), and the file is in place all the same.
    bool replace(const QString& destination)
    {
        if (::fdatasync(mFd) != 0 || ::close(std::exchange(mFd, -1)) != 0)
            return fail();
        if (::rename(mPath.constData(), QFile::encodeName(destination).constData()) != 0)
            return fail();
        mKept = true;
        const int folder = ::open(QFile::encodeName(QFileInfo(destination).absolutePath()).constData(),
                                  O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return true;
    }

private:
    friend class FolderBeside;
    static constexpr char kUniquePrefix[] = ".orvendale-copy-";

    // A copy that a program which died while saving left in the folder:
    // written an hour ago or earlier, so no save still writes it.
    static void removeStaleCopies(const QString& folder)
    {
        const QDateTime anHourAgo = QDateTime::currentDateTime().addSecs(-3600);
        const QFileInfoList copies = QDir(folder).entryInfoList({QString::fromLatin1(kUniquePrefix) + QLatin1Char('*')},
                                                                QDir::Files | QDir::Dirs | QDir::Hidden | QDir::System);
        for (const QFileInfo& copy : copies)
            if (copy.lastModified() < anHourAgo && !copy.isSymLink())
                copy.isDir() ? void(QDir(copy.absoluteFilePath()).removeRecursively())
                             : void(QFile::remove(copy.absoluteFilePath()));
    }

    bool fail()
    {
        mError = errno;
        return false;
    }

    QByteArray mPath;
    bool mUnique = false;
    int mFd = -1;
    int mError = 0;
    bool mKept = false;
};

// A hidden folder of its own beside the destination, for another writer
// (the engine) to write the new file in: whatever else it makes there (its
// lock file, its temporary files) goes with the folder, also when a save is
// cut short, as the folder is recorded before it is made.
class FolderBeside {
public:
    explicit FolderBeside(const QString& destination)
    {
        const QString folder = QFileInfo(destination).absolutePath();
        FileBeside::removeStaleCopies(folder);
        for (int attempt = 0; attempt < 100 && mPath.isEmpty(); ++attempt) {
            const QString path = QStringLiteral("%1/%2%3")
                                     .arg(folder, QLatin1String(FileBeside::kUniquePrefix))
                                     .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            TemporaryFiles::record(path);
            if (::mkdir(QFile::encodeName(path).constData(), 0700) == 0) {
                mPath = path;
                break;
            }
            mError = errno;
            TemporaryFiles::forget(path);
            if (mError != EEXIST)
                break;
        }
    }
    ~FolderBeside()
    {
        if (mPath.isEmpty())
            return;
        QDir(mPath).removeRecursively();
        TemporaryFiles::forget(mPath);
    }
    FolderBeside(const FolderBeside&) = delete;
    FolderBeside& operator=(const FolderBeside&) = delete;

    bool isMade() const { return !mPath.isEmpty(); }
    QString path() const { return mPath; }
    int error() const { return mError; }

private:
    QString mPath;
    int mError = 0;
};

}  // namespace

void copyReplacing(const QString& from, const QString& to)
{
    const QString shownFrom = QDir::toNativeSeparators(from);
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("%1 could not be read: %2.").arg(shownFrom, source.errorString()));

    FileBeside copy(to);
    if (!copy.isOpen())
        throw cannotWrite(to, copy.error());
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() && source.error() != QFileDevice::NoError)
            throw Failure(QStringLiteral("%1 could not be read: %2.").arg(shownFrom, source.errorString()));
        if (!copy.write(chunk))
            throw cannotWrite(to, copy.error());
    }
    if (!copy.replace(to))
        throw cannotWrite(to, copy.error());
}

void writeBytesReplacing(const QString& to, const QByteArray& bytes)
{
    FileBeside file(to, FileBeside::Name::Staging);
    if (!file.isOpen() || !file.write(bytes) || !file.replace(to))
        throw cannotWrite(to, file.error());
}

void writeReplacing(const QString& to, const std::function<void(const QString& path)>& write)
{
    FolderBeside folder(to);
    if (!folder.isMade())
        throw cannotWrite(to, folder.error());
    const QString written = folder.path() + QLatin1Char('/') + QFileInfo(to).fileName();
    try {
        write(written);
    } catch (const Failure&) {
        // Whatever the writer says, a full disk is what the user can act on.
        if (almostFull(to))
            throw cannotWrite(to, ENOSPC);
        throw;
    }
    FileBeside file(written, FileBeside::Name::Written);
    if (!file.replaceWritten(to))
        throw cannotWrite(to, file.error());
}

namespace {

// A folder of this user's own inside the system's temporary folder, which
// every user shares: the same one every run, so that a run can remove what
// an earlier one left there. A name another user took first (not a folder
// of ours that only we can enter) is not used; a fresh folder is made then.
QString privateTempFolder()
{
    const QByteArray shared = QFile::encodeName(QDir::tempPath());
    const QByteArray mine = shared + "/orvendale-" + QByteArray::number(::getuid());
    ::mkdir(mine.constData(), 0700);
    struct stat status {};
    if (::lstat(mine.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == ::getuid()
        && (status.st_mode & 077) == 0)
        return QFile::decodeName(mine);
    QByteArray fresh = shared + "/orvendale-XXXXXX";
    return ::mkdtemp(fresh.data()) ? QFile::decodeName(fresh) : QDir::tempPath();
}

}  // namespace

QString tempFolder()
{
    for (const char* variable : {"TEMP", "XDG_RUNTIME_DIR"}) {
        // Written as "~/tmp/", it is the folder "~/tmp" all the same.
        const QString folder = qEnvironmentVariable(variable);
        if (!folder.isEmpty())
            return QDir::cleanPath(folder);
    }
    static const QString privateFolder = privateTempFolder();
    return privateFolder;
}

}  // namespace Files
