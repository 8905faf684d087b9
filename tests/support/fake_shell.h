#pragma once

// A settings store of the test's own and fakes for every other side effect
// of the windows.
#include "desktop/services.h"
#include "shell/settings_store.h"
#include "tests/support/fakes.h"

struct FakeShell {
    FakeShell(const QString& storeFile, const QString& programFolder) : store(storeFile), programFolder(programFolder)
    {
    }

    ShellServices services()
    {
        const QString data = programFolder + "/data";
        return {store,  dialogs, programEnd,    urls, clock,
                random, skin,    programFolder, data, data + "/recently-used.xbel"};
    }

    SettingsStore store;
    FakeDialogs dialogs;
    FakeProgramEnd programEnd;
    FakeUrlOpener urls;
    FakeClock clock;
    FakeRandom random;
    FakeSkin skin;
    QString programFolder;
};
