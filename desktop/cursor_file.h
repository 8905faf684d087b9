#pragma once

#include <QCursor>
#include <QString>

// Reads a Windows cursor file (.cur) with its hot spot; throws Failure when
// the file cannot be read or is no cursor.
QCursor loadCursorFile(const QString& path);
