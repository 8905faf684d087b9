#pragma once

#include <QString>

// The company's logo, which the deck shows on its title slide and in every
// other slide's footer. The plan keeps a copy of its own, so that moving or
// deleting the picture the user chose loses nothing.
namespace PlanLogo {

// A logo is a picture the deck can carry whole; no logo comes near these.
inline constexpr qint64 kMostBytes = 20 * 1024 * 1024;
inline constexpr qint64 kMostPixels = 40'000'000;
// A drawing is drawn by the engine shape by shape, each <use> of a group
// drawing the group again: its bytes, and the shapes it draws once every
// <use> is followed, stay within what the engine draws in about a second.
inline constexpr qint64 kMostDrawingBytes = 2 * 1024 * 1024;
inline constexpr int kMostDrawnElements = 5000;
// A plan file carries its logo within it, at most this large.
inline constexpr qint64 kMostEmbeddedBytes = 1024 * 1024;

// The file types offered for a logo, as a file dialog's filter, and
// whether a file's name is one of them.
QString fileFilter();
bool hasPictureName(const QString& file);

// The folder of the logos' copies in the program's data folder.
QString folder(const QString& dataFolder);

// Checks that file is a PNG, JPEG or SVG picture a deck can show, without
// references to other files or the network, and copies it into folder under
// a name drawn from its content; returns that name, which the plan keeps.
// Throws Failure naming the file and what is wrong with it otherwise.
QString adopt(const QString& file, const QString& folder);
// The same for a picture's bytes (a plan file's logo), named as file in
// what is told.
QString adoptBytes(QByteArray bytes, const QString& file, const QString& folder);

// The logo's copy as a plan file carries it: the copy itself, or, when it
// is larger than kMostEmbeddedBytes, drawn again smaller as PNG; "" when the
// copy cannot be read.
QByteArray embeddable(const QString& copy);

// The copy a name the plan keeps stands for, always inside folder (a plan
// file from elsewhere names no other file on this computer); "" for none.
QString copyOf(const QString& kept, const QString& folder);

// The text that describes the logo to those who cannot see it.
QString description(const QString& companyName);

}  // namespace PlanLogo
