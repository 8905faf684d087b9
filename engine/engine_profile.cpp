#include "engine_profile.h"

#include "failure.h"

#include <QDir>
#include <QFile>

namespace {

struct Setting {
    const char* path;
    const char* name;
    const char* value;
};

// Settings of the engine's private profile.
const Setting kSettings[] = {
    // Nothing embedded in a deck executes.
    {"/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "3"},
    {"/org.openoffice.Office.Common/Security/Scripting", "DisableMacrosExecution", "true"},
    {"/org.openoffice.Office.Common/Security/Scripting", "BlockUntrustedRefererLinks", "true"},
    // No dialog waits for a person.
    {"/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false"},
    {"/org.openoffice.Office.Common/Misc", "FirstRun", "false"},
    {"/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "false"},
    {"/org.openoffice.Office.Common/Save/Document", "LoadPrinter", "false"},
    {"/org.openoffice.Office.Impress/Misc", "StartWithTemplate", "false"},
    {"/org.openoffice.Office.Recovery/RecoveryInfo", "Enabled", "false"},
    {"/org.openoffice.Office.Recovery/AutoSave", "Enabled", "false"},
    {"/org.openoffice.Setup/Office", "ooSetupInstCompleted", "true"},
    // Decks are ours alone: no lock files that a killed engine leaves behind.
    {"/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "false"},
    {"/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false"},
};

QByteArray registryText()
{
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    for (const Setting& setting : kSettings)
        xml += QByteArray("<item oor:path=\"") + setting.path + "\"><prop oor:name=\"" + setting.name
               + "\" oor:op=\"fuse\"><value>" + setting.value + "</value></prop></item>\n";
    xml += "</oor:items>\n";
    return xml;
}

}  // namespace

void prepareEngineProfile(const QString& profileDir)
{
    const QString userDir = profileDir + QStringLiteral("/user");
    const QString registry = userDir + QStringLiteral("/registrymodifications.xcu");
    if (QFile::exists(registry))
        return;
    if (!QDir().mkpath(userDir))
        throw Failure(QStringLiteral("The engine profile folder %1 could not be created.").arg(userDir));
    QFile file(registry);
    if (!file.open(QIODevice::WriteOnly) || file.write(registryText()) < 0)
        throw Failure(QStringLiteral("The engine profile %1 could not be written: %2.")
                          .arg(registry, file.errorString()));
}
