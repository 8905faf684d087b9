#pragma once

#include <QString>

namespace Main {

// True when something exists at path; false for a missing file, a missing
// folder on the way, an unreadable or an empty path. Never fails.
bool fileExists(const QString& path);

// Lets pending window events run once, then removes the file; when that
// fails, tries once more with forceDeleteFile. Never fails and never tells
// whether the file is gone.
void deleteFile(const QString& path);

// Removes the file even when it is read-only; throws Failure when it cannot.
void forceDeleteFile(const QString& path);

}  // namespace Main
