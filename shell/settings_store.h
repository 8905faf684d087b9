#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The per-user store that keeps the plan between runs: text values under the
// maker's name, the product's section and a key. Every write goes to disk
// before it returns, atomically (a new file renamed over the old one), so a
// crash right after a keystroke neither loses it nor leaves a half-written
// store. A store file that cannot be parsed is renamed aside, never overwritten.
class SettingsStore {
public:
    // The user's own store file, under the XDG configuration folder.
    static QString userFilePath();

    explicit SettingsStore(const QString& filePath = userFilePath());
    ~SettingsStore();

    // The stored value, or the empty text when the key was never written.
    QString getSetting(const QString& key) const;
    // Creates or replaces the entry; throws Failure when it cannot be written.
    void saveSetting(const QString& key, const QString& value);

    QString filePath() const;

private:
    void open();
    void removeAbandonedLock();
    void keepUnreadableFileAside();

    QString mFilePath;
    std::unique_ptr<QSettings> mSettings;
};
