#include "settings_store.h"

#include "failure.h"
#include "product.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>

namespace {

// The store file is JSON: a group is an object, a value a string. Qt's INI
// writer spends milliseconds on a plan of some 64 KB, which every keystroke
// rewrites; JSON is written and read in a fraction of that.
void readObject(const QJsonObject& object, const QString& prefix, QSettings::SettingsMap& map)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it->isObject())
            readObject(it->toObject(), prefix + it.key() + QLatin1Char('/'), map);
        else
            map.insert(prefix + it.key(), it->toString());
    }
}

bool readJson(QIODevice& device, QSettings::SettingsMap& map)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(device.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    readObject(document.object(), QString(), map);
    return true;
}

void insertPath(QJsonObject& object, QStringView path, const QString& value)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        object.insert(path, value);
        return;
    }
    const QString group = path.left(slash).toString();
    QJsonObject child = object.value(group).toObject();
    insertPath(child, path.mid(slash + 1), value);
    object.insert(group, child);
}

bool writeJson(QIODevice& device, const QSettings::SettingsMap& map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it)
        insertPath(root, it.key(), it.value().toString());
    return device.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) >= 0;
}

QSettings::Format jsonFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("json"), readJson, writeJson);
    return format;
}

}  // namespace

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
    if (mSettings->status() == QSettings::FormatError) {
        keepUnreadableFileAside();
        open();
    }
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::open()
{
    mSettings = std::make_unique<QSettings>(mFilePath, jsonFormat());
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
