#include "engine/uno/engine_profile.h"

#include "shell/failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <vector>

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
    // A document read for import never updates the links it holds (other
    // documents, pictures, fields) when it is loaded.
    {"/org.openoffice.Office.Writer/Content/Update", "Link", "2"},
    // Nor does it reach the network for what it links to: every address
    // goes through a proxy that does not exist, and fails at once.
    {"/org.openoffice.Inet/Settings", "ooInetProxyType", "2"},
    {"/org.openoffice.Inet/Settings", "ooInetHTTPProxyName", "127.0.0.1"},
    {"/org.openoffice.Inet/Settings", "ooInetHTTPProxyPort", "9"},
    {"/org.openoffice.Inet/Settings", "ooInetHTTPSProxyName", "127.0.0.1"},
    {"/org.openoffice.Inet/Settings", "ooInetHTTPSProxyPort", "9"},
    {"/org.openoffice.Inet/Settings", "ooInetFTPProxyName", "127.0.0.1"},
    {"/org.openoffice.Inet/Settings", "ooInetFTPProxyPort", "9"},
    {"/org.openoffice.Inet/Settings", "ooInetNoProxy", ""},
    // No dialog waits for a person.
    {"/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false"},
    {"/org.openoffice.Office.Common/Misc", "FirstRun", "false"},
    {"/org.openoffice.Office.Common/Save/Document", "WarnAlienFormat", "false"},
    {"/org.openoffice.Office.Common/Save/Document", "LoadPrinter", "false"},
    {"/org.openoffice.Office.Impress/Misc", "StartWithTemplate", "false"},
    {"/org.openoffice.Office.Impress/MultiPaneGUI/SlideSorterBar/Visible", "ImpressView", "false"},
    // The presentation window opens without its sidebar, which would follow
    // every selection the user watches being made; the slide has the room.
    {"/org.openoffice.Office.Views/Windows/org.openoffice.Office.Views:WindowType['simpress/10336']", "Visible",
     "false"},
    {"/org.openoffice.Office.Recovery/RecoveryInfo", "Enabled", "false"},
    {"/org.openoffice.Office.Recovery/AutoSave", "Enabled", "false"},
    {"/org.openoffice.Setup/Office", "ooSetupInstCompleted", "true"},
    // A saved deck carries no preview picture of its first slide, which the
    // format does not need: drawing it took about 40 % of a deck's save.
    {"/org.openoffice.Office.Common/Filter/Microsoft/Export", "EnablePowerPointPreview", "false"},
    // Decks are ours alone: no lock files that a killed engine leaves behind.
    {"/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "false"},
    {"/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false"},
    // The engine draws its windows in memory and sends the finished
    // pictures to the X server, never through a graphics card's driver: a
    // slide repaints, saves and closes faster than when each stroke goes
    // through the server (a deck's save and close take about half as long).
    {"/org.openoffice.Office.Common/VCL", "UseSkia", "true"},
    {"/org.openoffice.Office.Common/VCL", "ForceSkiaRaster", "true"},
};

QByteArray itemText(const Setting& setting)
{
    return QByteArray("<item oor:path=\"") + setting.path + "\"><prop oor:name=\"" + setting.name
           + "\" oor:op=\"fuse\"><value>" + setting.value + "</value></prop></item>\n";
}

const QByteArray kEmptyRegistry =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
    "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
    "</oor:items>\n";

// Puts each setting into the registry text, in place of any value the
// engine stored for it; true when the text changed.
bool enforceSettings(QByteArray& xml, const std::vector<Setting>& settings)
{
    bool changed = false;
    for (const Setting& setting : settings) {
        const QByteArray item = itemText(setting);
        if (xml.contains(item))
            continue;
        const QRegularExpression stored(QStringLiteral("<item oor:path=\"%1\"><prop oor:name=\"%2\"[^\n]*</item>\n")
                                            .arg(QRegularExpression::escape(QLatin1String(setting.path)),
                                                 QRegularExpression::escape(QLatin1String(setting.name))));
        xml = QString::fromUtf8(xml).remove(stored).toUtf8();
        const qsizetype end = xml.lastIndexOf("</oor:items>");
        if (end < 0)
            xml = kEmptyRegistry;
        xml.insert(xml.lastIndexOf("</oor:items>"), item);
        changed = true;
    }
    return changed;
}

}  // namespace

QByteArray installedProductValue(const QString& officeProgram, const QByteArray& name)
{
    QFile registry(QFileInfo(officeProgram).dir().filePath(QStringLiteral("../share/registry/main.xcd")));
    if (!registry.open(QIODevice::ReadOnly))
        return {};
    const QByteArray xml = registry.readAll();
    const qsizetype prop = xml.indexOf("<prop oor:name=\"" + name + "\">");
    if (prop < 0)
        return {};
    const qsizetype start = xml.indexOf("<value>", prop) + 7;
    const qsizetype end = xml.indexOf("</value>", start);
    if (start < 7 || end < 0 || end - start > 16)
        return {};
    return xml.mid(start, end - start);
}

void prepareEngineProfile(const QString& profileDir, const QString& officeProgram)
{
    std::vector<Setting> settings(std::begin(kSettings), std::end(kSettings));
    // A profile that has not seen this version of the engine makes the
    // engine test its drawing at every start until it ends cleanly once
    // (seconds with the renderer above), and offer news about the version
    // in the first window the user watches.
    const QByteArray version = installedProductValue(officeProgram, "ooSetupVersion");
    if (!version.isEmpty())
        settings.push_back({"/org.openoffice.Setup/Product", "ooSetupLastVersion", version.constData()});
    const QString userDir = profileDir + QStringLiteral("/user");
    const QString registry = userDir + QStringLiteral("/registrymodifications.xcu");
    if (!QDir().mkpath(userDir))
        throw Failure(QStringLiteral("The engine profile folder %1 could not be created.").arg(userDir));
    QFile stored(registry);
    QByteArray xml = stored.open(QIODevice::ReadOnly) ? stored.readAll() : kEmptyRegistry;
    stored.close();
    if (!enforceSettings(xml, settings))
        return;
    QSaveFile file(registry);
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.commit())
        throw Failure(
            QStringLiteral("The engine profile %1 could not be written: %2.").arg(registry, file.errorString()));
}
