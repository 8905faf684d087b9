#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QVariant>

// The store file's format: JSON, a group an object, a value whatever JSON
// value it holds. Entries are keyed by their whole path ("group/key"), each
// key in it escaped so that a key holding "/" stays one key. Values are kept
// as read, so a number, a list, an empty object or a key of another program
// is written back exactly as it was found.
namespace JsonSettingsFormat {

using SettingsMap = QMap<QString, QVariant>;

// The path of a key in a group.
QString entryPath(const QString& group, const QString& key);

// The entries of a whole file; false when it is not a JSON object.
bool parse(const QByteArray& text, SettingsMap& map);

// A string value as last written, and its JSON form.
struct EncodedString {
    QString value;
    QByteArray json;
};
using EncodedStrings = QHash<QString, EncodedString>;

// Writes the file's text for the entries. The store writes the whole file on
// every keystroke, so each string value's JSON form is kept and only a value
// that changed since the last text is encoded again.
class TextWriter {
public:
    QByteArray text(const SettingsMap& map);

private:
    EncodedStrings mEncoded;
    qsizetype mLastSize = 0;
};

// Every complete entry at the start of a damaged file, up to the first point
// where it stops being JSON: what a file cut short still holds.
SettingsMap salvage(const QByteArray& damaged);

}  // namespace JsonSettingsFormat
