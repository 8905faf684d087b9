#include "settings_store.h"

#include "failure.h"
#include "json_settings_format.h"
#include "product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include <utility>

QString SettingsStore::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/") + Main::makerName + QStringLiteral(".json");
}

SettingsStore::SettingsStore(const QString& filePath) : mFilePath(filePath)
{
    QDir().mkpath(QFileInfo(mFilePath).absolutePath());
    removeAbandonedLock();
    open();
    if (mSettings->status() == QSettings::FormatError)
        keepDamagedFileAside();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::open()
{
    mSettings = std::make_unique<QSettings>(mFilePath, JsonSettingsFormat::format());
    mSettings->setAtomicSyncRequired(true);
    mSettings->beginGroup(Main::productName);
}

void SettingsStore::removeAbandonedLock()
{
    // Writers hold a lock file while they replace the store. One killed while
    // creating it leaves it without an owner to check, and every later write
    // would wait half a minute for it to age. Writing the owner takes
    // microseconds, so one that is still unreadable after a second is dead.
    const QString lockPath = mFilePath + QStringLiteral(".lock");
    const QFileInfo lockFile(lockPath);
    if (!lockFile.exists() || lockFile.lastModified().msecsTo(QDateTime::currentDateTime()) < 1000)
        return;
    qint64 pid = 0;
    QString host, application;
    if (!QLockFile(lockPath).getLockInfo(&pid, &host, &application))
        QFile::remove(lockPath);
}

void SettingsStore::keepDamagedFileAside()
{
    mSettings.reset();
    QFile damaged(mFilePath);
    const QByteArray content = damaged.open(QIODevice::ReadOnly) ? damaged.readAll() : QByteArray();
    damaged.close();
    const QString aside = mFilePath + QStringLiteral(".unreadable-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    if (QFile::rename(mFilePath, aside))
        mDamagedFileKeptAt = aside;
    open();
    // Whatever the damaged file still held goes into the fresh one, without
    // a word if that cannot be written yet: the next write tries again.
    mUnsaved = JsonSettingsFormat::salvage(content);
    writeUnsaved();
}

QString SettingsStore::getSetting(const QString& key) const
{
    return mSettings->value(key).toString();
}

void SettingsStore::saveSetting(const QString& key, const QString& value)
{
    mUnsaved.insert(Main::productName + QLatin1Char('/') + key, value);
    if (writeUnsaved()) {
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

// Writes every entry not yet on disk. Qt keeps a store's first error for
// good, so after a failure the file is opened afresh for the next attempt.
bool SettingsStore::writeUnsaved()
{
    if (mSettings->status() != QSettings::NoError)
        open();
    // Unsaved entries are held under their whole path, group included.
    mSettings->endGroup();
    for (auto it = mUnsaved.begin(); it != mUnsaved.end(); ++it)
        mSettings->setValue(it.key(), it.value());
    mSettings->beginGroup(Main::productName);
    mSettings->sync();
    if (mSettings->status() != QSettings::NoError)
        return false;
    mUnsaved.clear();
    return true;
}

QString SettingsStore::filePath() const
{
    return mFilePath;
}
