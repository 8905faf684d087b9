#pragma once

#include <QString>

// The files the program makes for a while only: temporary decks (and the
// lock files the engine writes beside them), copies being saved beside the
// user's file, and the working folders of exports. Each copy of the program records such a file before it
// makes it, in a record of its own in the program's data folder that it
// holds locked while it runs, and forgets it once the file is gone. A copy
// that ends without removing its files (killed, or gone with its display)
// lets go of its lock, and the next start removes what it recorded.
namespace TemporaryFiles {

// Records a file about to be made. Never fails: without a record, the file
// is only left behind should the program be killed.
void record(const QString& path);
// Forgets a file that is gone, or kept under another name.
void forget(const QString& path);
// Removes every file this copy recorded, and its record: for the program's
// end.
void removeAll();
// Removes the files that copies of the program which have ended recorded,
// and their records; the records of copies still running stay.
void removeLeftBehind();

// The lock file the engine may write beside a deck it opens
// (".~lock.<name>#"), even when told not to.
QString deckLockFile(const QString& deck);

// Removes a deck and its lock file. Never fails.
void removeDeck(const QString& path);

// Whether the name is one the program gives a temporary file: only such
// files are ever removed, whatever a record says.
bool isTemporaryFile(const QString& path);

}  // namespace TemporaryFiles
