#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVariant>

// The store file's format: JSON, a group an object, a value whatever JSON
// value it holds. Entries are keyed by their whole path ("group/key").
// Values are kept as read, so a number, a list or a key of another program
// is written back exactly as it was found.
namespace JsonSettingsFormat {

using SettingsMap = QMap<QString, QVariant>;

// The entries of a whole file; false when it is not a JSON object.
bool parse(const QByteArray& text, SettingsMap& map);

// The file's text for the entries.
QByteArray text(const SettingsMap& map);

// Every complete entry at the start of a damaged file, up to the first point
// where it stops being JSON: what a file cut short still holds.
SettingsMap salvage(const QByteArray& damaged);

}  // namespace JsonSettingsFormat
