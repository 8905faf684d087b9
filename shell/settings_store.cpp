#include "shell/settings_store.h"

#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// One writer of the store at a time, across copies of the program: a lock
// on a file beside the store, which the system lets go of when its holder
// ends, however it ends. A holder that never lets go is not waited for long.
class StoreLock {
public:
    explicit StoreLock(const QString& storePath)
        : mFd(::open(QFile::encodeName(storePath + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC,
                     0666))
    {
        const QDeadlineTimer deadline(2000);
        while (mFd >= 0 && ::flock(mFd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired()) {
                ::close(std::exchange(mFd, -1));
                return;
            }
            QThread::msleep(1);
        }
    }
    ~StoreLock()
    {
        if (mFd >= 0)
            ::close(mFd);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool held() const { return mFd >= 0; }

private:
    int mFd;
};

QString entryPath(const QString& key)
{
    return JsonSettingsFormat::entryPath(Product::name, key);
}

}  // namespace

QString SettingsStore::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/")
           + Product::makerName + QStringLiteral(".json");
}

SettingsStore::SettingsStore(const QString& filePath) : mFilePath(filePath)
{
    QDir().mkpath(QFileInfo(mFilePath).absolutePath());
    // A file that cannot be read at all is left as it is; writes fail, and
    // say so, until it can be.
    if (!readIfChanged() && QFileInfo(mFilePath).isReadable())
        keepDamagedFileAside();
}

SettingsStore::SettingsStore(ReadOnly, const QString& filePath) : mFilePath(filePath)
{
    if (!readIfChanged() && QFileInfo(mFilePath).isReadable())
        throw Failure(QStringLiteral("Your saved plan in %1 is damaged. It is left as it is; %2 sets it aside and "
                                     "restores what can still be read the next time its window starts.")
                          .arg(QDir::toNativeSeparators(mFilePath), Product::name));
}

SettingsStore::~SettingsStore() = default;

SettingsStore::Stamp SettingsStore::stampOf(const QString& path)
{
    struct stat file {};
    if (::stat(QFile::encodeName(path).constData(), &file) != 0)
        return {};
    return {file.st_dev, file.st_ino, file.st_size, file.st_ctim.tv_sec * 1000000000LL + file.st_ctim.tv_nsec};
}

bool SettingsStore::readIfChanged() const
{
    const Stamp now = stampOf(mFilePath);
    if (now == mRead)
        return true;
    JsonSettingsFormat::SettingsMap values;
    if (now.size >= 0) {
        QFile file(mFilePath);
        if (!file.open(QIODevice::ReadOnly) || !JsonSettingsFormat::parse(file.readAll(), values))
            return false;
    }
    mValues = std::move(values);
    mRead = now;
    return true;
}

void SettingsStore::keepDamagedFileAside()
{
    QFile damaged(mFilePath);
    const QByteArray content = damaged.open(QIODevice::ReadOnly) ? damaged.readAll() : QByteArray();
    damaged.close();
    // A store that is a link keeps it: the file it links to is set aside,
    // and the salvaged store written in its place.
    const QString file = Files::fileBehindLinks(mFilePath);
    const QString aside = file + QStringLiteral(".unreadable-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (QFile::rename(file, aside))
        mDamagedFileKeptAt = aside;
    // Whatever the damaged file still held goes into the fresh one, without
    // a word if that cannot be written yet: the next write tries again.
    mUnsaved = JsonSettingsFormat::salvage(content);
    writeUnsaved();
}

QString SettingsStore::getSetting(const QString& key) const
{
    const QString path = entryPath(key);
    if (const auto unsaved = mUnsaved.constFind(path); unsaved != mUnsaved.cend())
        return unsaved->toString();
    readIfChanged();
    return mValues.value(path).toString();
}

void SettingsStore::saveSetting(const QString& key, const QString& value)
{
    mUnsaved.insert(entryPath(key), value);
    if (saveUnsaved()) {
        mFailing = false;
        return;
    }
    if (std::exchange(mFailing, true))
        return;
    throw Failure(QStringLiteral("Your plan could not be saved to %1. Check that the folder "
                                 "exists, is writable and that the disk is not full; what you type "
                                 "is kept and saved as soon as the file can be written.")
                      .arg(QDir::toNativeSeparators(mFilePath)));
}

bool SettingsStore::saveUnsaved()
{
    return mUnsaved.isEmpty() || writeUnsaved();
}

// Writes every entry not yet on disk into the file as it is now, so that
// what another copy of the program wrote meanwhile stays. A file that cannot
// be read is never replaced.
bool SettingsStore::writeUnsaved()
{
    const StoreLock lock(mFilePath);
    if (!lock.held() || !readIfChanged())
        return false;
    JsonSettingsFormat::SettingsMap values = mValues;
    for (auto it = mUnsaved.cbegin(); it != mUnsaved.cend(); ++it)
        values.insert(it.key(), it.value());
    try {
        Files::writeBytesReplacing(Files::fileBehindLinks(mFilePath), mWriter.text(values));
    } catch (const Failure&) {
        return false;
    }
    mValues = std::move(values);
    mRead = stampOf(mFilePath);
    mUnsaved.clear();
    return true;
}

QString SettingsStore::filePath() const
{
    return mFilePath;
}
