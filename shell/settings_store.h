#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// The per-user store that keeps the plan between runs: text values under the
// maker's name, the product's section and a key. Every write goes to disk
// before it returns, atomically (a new file renamed over the old one), so a
// crash right after a keystroke neither loses it nor leaves a half-written
// store. A store file that cannot be parsed is renamed aside, never
// overwritten, and what can still be read of it is carried over.
class SettingsStore {
public:
    // The user's own store file, under the XDG configuration folder.
    static QString userFilePath();

    explicit SettingsStore(const QString& filePath = userFilePath());
    ~SettingsStore();

    // The stored value as text (a number or a truth value as written), or the
    // empty text when the key was never written.
    QString getSetting(const QString& key) const;
    // Creates or replaces the entry. A write that fails is kept and tried
    // again with every later write until one succeeds. Throws Failure for the
    // first failure of such a run only, so that a store that stays
    // unwritable is reported once, not at every keystroke.
    void saveSetting(const QString& key, const QString& value);

    QString filePath() const;
    // Where a damaged store file was set aside when this store opened it, or
    // the empty text.
    QString damagedFileKeptAt() const { return mDamagedFileKeptAt; }

private:
    void open();
    void removeAbandonedLock();
    void keepDamagedFileAside();
    bool writeUnsaved();

    QString mFilePath;
    QString mDamagedFileKeptAt;
    std::unique_ptr<QSettings> mSettings;
    QSettings::SettingsMap mUnsaved;
    bool mFailing = false;
};
