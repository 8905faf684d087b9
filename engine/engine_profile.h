#pragma once

#include <QString>

// Makes the engine's private profile, or brings an existing one up to date:
// no macros ever run, no link is followed without asking nobody, no
// first-start tips, recovery or locks, no slide panel beside the slide.
void prepareEngineProfile(const QString& profileDir);
