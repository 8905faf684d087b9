#pragma once

#include "engine/uno/call_watchdog.h"

#include <QList>
#include <QString>

// Where and how the engine instance of this user runs: a private profile, so
// that the program never touches the user's own office session, and a pipe
// named after the user that every copy of the program connects through.
struct EngineSettings {
    QString officeProgram;  // soffice.bin
    QString profileDir;
    QString pipeName;
    bool headless = false;  // a headless instance can never show a window
    // The whole start of an engine, every attempt included. A first start on
    // a new profile took 1.1-1.3 s here with the disk cache dropped and both
    // processors busy; a slow laptop's cold disk may take many times that,
    // and waiting costs nothing, as no window waits with it.
    int startTimeoutMs = 60000;

    static EngineSettings forUser();

    // The file that records the engine started on this profile.
    QString pidFile() const;
    // The engine process that file records, or 0; it may have ended since.
    qint64 recordedEnginePid() const;
    // Whether that engine is a spare that was not taken yet.
    bool recordedAsSpare() const;
    // The temporary folder that file records for the engine.
    QString recordedTempFolder() const;
    // The settings of the spare profile with this number (from 1), for an
    // engine started ahead of need on a profile and a pipe of its own.
    EngineSettings spareProfile(int number) const;
    // Spare profiles a copy of the program may lock: enough for a few copies
    // running at once.
    static constexpr int kSpareProfiles = 8;
    // These settings, then those of every spare profile that engines of
    // these settings may run on.
    QList<EngineSettings> withSpareProfiles() const;
};
