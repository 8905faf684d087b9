#pragma once

// A plan kept in a file of its own (".orvendale"): UTF-8 JSON with the
// format's name and version and the plan's texts under the store's keys,
// so that a plan can be sent, kept per investor and opened again.
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

class SettingsStore;

namespace PlanFile {

inline constexpr int kVersion = 1;
inline const QString kSuffix = QStringLiteral("orvendale");
// The type the desktop knows plan files by (the package describes it).
inline const QString kMimeType = QStringLiteral("application/x-orvendale-plan");
// No plan comes near this; a file beyond it is not one.
inline constexpr qint64 kMostBytes = 32 * 1024 * 1024;

// The plan's texts by store key.
using Texts = QMap<QString, QString>;

// Every key a plan has, in the window's order: the company name, the plan's
// title, the sections, then the logo's file and the design's id.
QStringList keys();

// The texts of the plan file, every key present ("" where the file has
// none). Throws Failure naming the file and what is wrong with it when it is
// no plan this version can open.
Texts read(const QString& path);
// The same in two steps: the file's bytes (a regular file of at most
// kMostBytes, read without blocking), and the plan they hold.
QByteArray readBytes(const QString& path);
Texts parse(const QString& path, const QByteArray& bytes);

// The plan's texts as the store holds them, and the store made to hold
// them.
Texts storedTexts(const SettingsStore& store);
void store(SettingsStore& store, const Texts& texts);

// The plan as the bytes of a plan file, with the logo's picture when it is
// given, so that the file carries its logo wherever it goes.
QByteArray toBytes(const Texts& texts, const QJsonObject& about = {}, const QByteArray& logo = {});

// Writes the plan file whole or not at all, and durably, through the links
// that lead to it; what is said about the plan (a snapshot's kind and time,
// say) goes beside its texts. Returns the bytes written.
QByteArray write(const QString& path, const Texts& texts, const QJsonObject& about = {}, const QByteArray& logo = {});

// The logo's picture a plan file's bytes carry; "" for none.
QByteArray logoPicture(const QByteArray& bytes);

// What was said about the plan in the file; empty when nothing.
QJsonObject about(const QString& path);

}  // namespace PlanFile
