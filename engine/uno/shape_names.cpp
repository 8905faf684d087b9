#include "engine/uno/shape_names.h"

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

int findShape(const QStringList& storedNames, const std::function<QString(int index)>& shapeTypeAt, const QString& name)
{
    const int stored = static_cast<int>(storedNames.indexOf(name));
    if (stored >= 0)
        return stored;
    const int index = name.section(QLatin1Char(' '), -1).toInt() - 2;
    if (index < 0 || index >= storedNames.size() || !storedNames.at(index).isEmpty())
        return -1;
    return defaultShapeName(shapeTypeAt(index), index) == name ? index : -1;
}
