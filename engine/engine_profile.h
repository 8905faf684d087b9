#pragma once

#include <QString>

// Makes the engine's private profile: no macros ever run, no link is
// followed without asking nobody, no first-start tips, recovery or locks.
void prepareEngineProfile(const QString& profileDir);
