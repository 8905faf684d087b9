#pragma once

class Dialogs;
class SettingsStore;

namespace UnsavedChanges {

// Before the program ends at the user's request: tries once more to write
// what the store could not write yet. While it still cannot, says so and
// lets the user try again (after freeing space on the disk, say) or end
// without those changes.
void saveBeforeEnding(SettingsStore& store, Dialogs& dialogs);

}  // namespace UnsavedChanges
