#include "shape_names.h"

QString shapeKind(const QString& shapeType)
{
    const QString type = shapeType.section(QLatin1Char('.'), -1);
    if (type == QLatin1String("GraphicObjectShape"))
        return QStringLiteral("Picture");
    if (type == QLatin1String("LineShape") || type == QLatin1String("ConnectorShape"))
        return QStringLiteral("Line");
    if (type == QLatin1String("EllipseShape"))
        return QStringLiteral("Oval");
    if (type == QLatin1String("GroupShape"))
        return QStringLiteral("Group");
    if (type == QLatin1String("TableShape"))
        return QStringLiteral("Table");
    // Text boxes, placeholders and rectangles.
    return QStringLiteral("Rectangle");
}

QString defaultShapeName(const QString& shapeType, int index)
{
    return shapeKind(shapeType) + QLatin1Char(' ') + QString::number(index + 2);
}

int findShape(const QStringList& storedNames, const QStringList& shapeTypes, const QString& name)
{
    const int stored = static_cast<int>(storedNames.indexOf(name));
    if (stored >= 0)
        return stored;
    for (int i = 0; i < storedNames.size(); ++i)
        if (storedNames.at(i).isEmpty() && defaultShapeName(shapeTypes.at(i), i) == name)
            return i;
    return -1;
}
