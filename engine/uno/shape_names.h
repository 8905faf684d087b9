#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// How a shape is found by name on a slide. A shape answers to its stored
// name; a shape without one answers to its default name: its kind, a blank
// and its position in the slide's drawing order plus one (the slide's
// background takes the first number), so the first shape is "Rectangle 2".

// The kind part of a default name for a shape of the engine's type.
QString shapeKind(const QString& shapeType);

QString defaultShapeName(const QString& shapeType, int index);

// The index of the shape answering to name, or -1. Stored names win over
// default names. Only the shape at the position a default name gives can
// answer to it, so the engine is asked for that one shape's type alone.
int findShape(const QStringList& storedNames, const std::function<QString(int index)>& shapeTypeAt,
              const QString& name);
