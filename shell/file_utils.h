#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace Files {

// True when something exists at path; false for a missing file, a missing
// folder on the way, an unreadable or an empty path. Never fails.
bool exists(const QString& path);

// Lets pending window events run once, then removes the file; when that
// fails, tries once more with forceRemove. Never fails and never tells
// whether the file is gone.
void remove(const QString& path);

// The whole content of a regular file (or of one a link leads to), read
// without blocking and never more than most bytes: a device, a pipe or a
// socket is refused before anything is read from it. Throws Failure whose
// description is the reason alone ("it is a folder"; "at 30 MB it is far
// larger than <larger>"), for the caller to put in a sentence of its own.
QByteArray readRegularFile(const QString& path, qint64 most, const QString& largerThan);

// The file a write to path replaces: path itself, or the file its links
// lead to, followed to the end, so that a file kept elsewhere (in a folder
// of dotfiles, say) stays linked; where the last link leads to a file not
// made yet, that file.
QString fileBehindLinks(const QString& path);

// Whether two paths name one existing file (one device and inode), links
// followed: a file and a link to it are one.
bool sameFile(const QString& a, const QString& b);

// Removes the file even when it is read-only; throws Failure when it cannot.
void forceRemove(const QString& path);

// Copies a file byte for byte. The copy is written beside the destination
// under a fresh name and then renamed over it, so the destination is either
// the old file or the whole new one, and a link planted at the destination is
// replaced rather than followed. Throws Failure when the copy cannot be made.
void copyReplacing(const QString& from, const QString& to);

// Writes the bytes as the whole new content of a file, replacing it the same
// way as copyReplacing, through a file named like it with ".new": for a
// writer that holds the file's lock. Throws Failure when it cannot.
void writeBytesReplacing(const QString& to, const QByteArray& bytes);

// Has another writer (the engine, say) write a new file, at the path it is
// given in a hidden folder of its own beside the destination, then makes that
// file durable and renames it over the destination, so the destination is
// either the old file or the whole new one. The folder goes with whatever
// else the writer made in it, also after a save cut short (at the next
// start). Throws Failure when the file cannot be made; what the
// writer throws is passed on, unless the disk is full, which is said
// instead. Either way no partial file is left.
void writeReplacing(const QString& to, const std::function<void(const QString& path)>& write);

// The folder for temporary files: $TEMP when it is set, otherwise the user's
// own runtime folder, otherwise a folder only the user can enter inside the
// system's temporary folder.
QString tempFolder();

}  // namespace Files
