#pragma once

#include "shell/json_settings_format.h"

#include <QString>

#include <sys/types.h>

// The per-user store that keeps the plan between runs: text values under the
// maker's name, the product's section and a key. Every write goes to disk
// before it returns, atomically (a new file renamed over the old one) and
// with one flush to the disk, so a crash right after a keystroke neither
// loses it nor leaves a half-written store. Copies of the program that write
// the same store take turns and keep each other's entries. A store file
// that cannot be parsed is renamed aside, never overwritten, and what can
// still be read of it is carried over.
class SettingsStore {
public:
    // The user's own store file, under the XDG configuration folder.
    static QString userFilePath();

    explicit SettingsStore(const QString& filePath = userFilePath());
    ~SettingsStore();

    // The store to read only, left exactly as it is: a store file that
    // cannot be parsed throws Failure naming it rather than being set aside.
    struct ReadOnly {};
    SettingsStore(ReadOnly, const QString& filePath = userFilePath());

    // The stored value as text (a number or a truth value as written), or the
    // empty text when the key was never written.
    QString getSetting(const QString& key) const;
    // Creates or replaces the entry. A write that fails is kept and tried
    // again with every later write until one succeeds. Throws Failure for the
    // first failure of such a run only, so that a store that stays
    // unwritable is reported once, not at every keystroke.
    void saveSetting(const QString& key, const QString& value);

    // Tries once more to write what earlier writes could not: for the
    // program's end. True when nothing is left unwritten.
    bool saveUnsaved();

    QString filePath() const;
    // Where a damaged store file was set aside when this store opened it, or
    // the empty text.
    QString damagedFileKeptAt() const { return mDamagedFileKeptAt; }

private:
    // What identifies one version of the file on disk.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = -1;
        long long changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);

    // Reads the file when it changed since it was last read or written
    // here; false when it cannot be parsed.
    bool readIfChanged() const;
    void keepDamagedFileAside();
    bool writeUnsaved();

    QString mFilePath;
    QString mDamagedFileKeptAt;
    mutable JsonSettingsFormat::SettingsMap mValues;
    mutable Stamp mRead;
    JsonSettingsFormat::SettingsMap mUnsaved;
    JsonSettingsFormat::TextWriter mWriter;
    bool mFailing = false;
};
