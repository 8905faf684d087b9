#pragma once

#include <QByteArray>
#include <QSettings>

// The store file's format: JSON, a group an object, a value whatever JSON
// value it holds. Values are kept as read, so a number, a list or a key of
// another program is written back exactly as it was found.
namespace JsonSettingsFormat {

QSettings::Format format();

// Every complete entry at the start of a damaged file, up to the first point
// where it stops being JSON: what a file cut short still holds.
QSettings::SettingsMap salvage(const QByteArray& damaged);

}  // namespace JsonSettingsFormat
