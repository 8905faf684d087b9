#include "settings_store.h"

#include "failure.h"
#include "product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString SettingsStore::userFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/") + Main::makerName + QStringLiteral(".conf");
}

SettingsStore::SettingsStore(const QString& filePath) : mFilePath(filePath)
{
    QDir().mkpath(QFileInfo(mFilePath).absolutePath());
    open();
    if (mSettings->status() == QSettings::FormatError) {
        keepUnreadableFileAside();
        open();
    }
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::open()
{
    mSettings = std::make_unique<QSettings>(mFilePath, QSettings::IniFormat);
    mSettings->setAtomicSyncRequired(true);
    mSettings->beginGroup(Main::productName);
}

void SettingsStore::keepUnreadableFileAside()
{
    mSettings.reset();
    const QString aside = mFilePath + QStringLiteral(".unreadable-")
                          + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QFile::rename(mFilePath, aside);
}

QString SettingsStore::getSetting(const QString& key) const
{
    return mSettings->value(key, QString()).toString();
}

void SettingsStore::saveSetting(const QString& key, const QString& value)
{
    mSettings->setValue(key, value);
    mSettings->sync();
    if (mSettings->status() != QSettings::NoError)
        throw Failure(QStringLiteral("Your plan could not be saved to %1. Check that the folder "
                                     "exists, is writable and that the disk is not full.")
                          .arg(QDir::toNativeSeparators(mFilePath)));
}

QString SettingsStore::filePath() const
{
    return mFilePath;
}
