#include "engine/uno/engine_settings.h"

#include "engine/uno/pid_file.h"
#include "shell/product.h"

#include <unistd.h>

EngineSettings EngineSettings::forUser()
{
    EngineSettings settings;
    settings.officeProgram = QStringLiteral(LIBREOFFICE_PROGRAM_DIR "/soffice.bin");
    settings.profileDir = Product::userDataFolder() + QStringLiteral("/engine-profile");
    // One pipe per user and profile: copies of the program that share a
    // profile share the instance, and nothing else reaches it.
    settings.pipeName = QStringLiteral("orvendale-engine-%1-%2").arg(getuid()).arg(qHash(settings.profileDir), 0, 16);
    return settings;
}

EngineSettings EngineSettings::spareProfile(int number) const
{
    EngineSettings spare = *this;
    spare.profileDir = QStringLiteral("%1-spare-%2").arg(profileDir).arg(number);
    spare.pipeName = QStringLiteral("%1-spare-%2").arg(pipeName).arg(number);
    return spare;
}

QList<EngineSettings> EngineSettings::withSpareProfiles() const
{
    QList<EngineSettings> all{*this};
    for (int number = 1; number <= kSpareProfiles; ++number)
        all << spareProfile(number);
    return all;
}

QString EngineSettings::pidFile() const
{
    return profileDir + QStringLiteral("/orvendale-engine.pid");
}

qint64 EngineSettings::recordedEnginePid() const
{
    return PidFile::read(pidFile()).engine;
}

bool EngineSettings::recordedAsSpare() const
{
    return PidFile::read(pidFile()).spare;
}

QString EngineSettings::recordedTempFolder() const
{
    return PidFile::read(pidFile()).tempFolder;
}
