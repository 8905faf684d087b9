#pragma once

#include <QString>

// Names the program is known by: the window captions, the settings address and
// the folder that holds the program file with everything that ships beside it.
namespace Product {

inline const QString name = QStringLiteral("Orvendale");
inline const QString makerName = QStringLiteral("Kervanel");

// Support address named in the error report box, and the maker's home page.
inline const QString supportEmail = QStringLiteral("support@kervanel.example");
inline const QString homePageUrl = QStringLiteral("https://kervanel.example/orvendale");

// The folder that keeps what the program makes for the user besides the plan
// (the engine's profile, the personal word list).
QString userDataFolder();

// The folder holding the running program, without a trailing separator.
QString programFolder();

// A file that ships beside the program, e.g. besideProgram(folder, "x/o.cjs").
QString besideProgram(const QString& folder, const QString& relativePath);

// The application title: set once at start-up, the caption of every message
// box that names no title of its own.
QString applicationTitle();
void setApplicationTitleText(const QString& title);

}  // namespace Product
