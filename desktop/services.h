#pragma once

#include <QString>

class Clock;
class Dialogs;
class ProgramEnd;
class Random;
class SettingsStore;
class Skin;
class UrlOpener;

// What the windows need from the world outside them. The program passes the
// real ones; tests pass fakes.
struct ShellServices {
    SettingsStore& store;
    Dialogs& dialogs;
    ProgramEnd& programEnd;
    UrlOpener& urls;
    Clock& clock;
    Random& random;
    Skin& skin;
    QString programFolder;
    // Where the program keeps what it makes for the user: snapshots of the
    // plan, among others.
    QString dataFolder;
    // The desktop's list of recently used files, which plan files opened or
    // saved join.
    QString desktopRecentList;
};
