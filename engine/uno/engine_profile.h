#pragma once

#include <QByteArray>
#include <QString>

// Makes the engine's private profile, or brings an existing one up to date:
// no macros ever run, no link is followed without asking, no
// first-start tips, recovery or locks, no slide panel beside the slide,
// drawing in memory; and it has seen the version of the engine installed
// beside officeProgram.
void prepareEngineProfile(const QString& profileDir, const QString& officeProgram);

// A value the engine's installation beside officeProgram states about its
// product, read from its registry without starting it: "ooSetupVersion"
// ("7.4"), "ooSetupVersionAboutBox" ("7.4.7.2"); empty when it does not say.
QByteArray installedProductValue(const QString& officeProgram, const QByteArray& name);
