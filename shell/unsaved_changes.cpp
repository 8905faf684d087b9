#include "shell/unsaved_changes.h"

#include "shell/dialogs.h"
#include "shell/product.h"
#include "shell/settings_store.h"

#include <QDir>

namespace UnsavedChanges {

void saveBeforeEnding(SettingsStore& store, Dialogs& dialogs)
{
    while (!store.saveUnsaved())
        if (!dialogs.askYesNo(QStringLiteral("Your latest changes could not be saved to %1. Free some space on the "
                                             "disk or make its folder writable, then choose Yes to try again. "
                                             "Choose No to end %2 without them.")
                                  .arg(QDir::toNativeSeparators(store.filePath()), Product::name)))
            return;
}

}  // namespace UnsavedChanges
