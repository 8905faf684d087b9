#pragma once

#include <QString>

// The desktop's list of recently used files, which file choosers and
// launchers offer again: an XBEL file shared by every program of the user.
namespace DesktopRecentFiles {

// The list's place: recently-used.xbel in the user's data folder.
QString listFile();

// Records in the list that this program used file, of mimeType, now,
// keeping every other entry. A list that cannot be read as one is left as it
// is; false then, and when it cannot be written: the list is a convenience,
// and the program goes on without it.
bool add(const QString& listFile, const QString& file, const QString& mimeType);

}  // namespace DesktopRecentFiles
