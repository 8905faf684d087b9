#pragma once

#include <QString>

// Makes the engine's private profile, or brings an existing one up to date:
// no macros ever run, no link is followed without asking nobody, no
// first-start tips, recovery or locks, no slide panel beside the slide,
// drawing in memory; and it has seen the version of the engine installed
// beside officeProgram.
void prepareEngineProfile(const QString& profileDir, const QString& officeProgram);
