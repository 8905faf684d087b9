#include "shell/product.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace Product {

namespace {
QString& titleStorage()
{
    static QString title;
    return title;
}
}  // namespace

QString userDataFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/") + makerName
           + QStringLiteral("/") + name;
}

QString programFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString besideProgram(const QString& folder, const QString& relativePath)
{
    return folder + QDir::separator() + QDir::toNativeSeparators(relativePath);
}

QString applicationTitle()
{
    return titleStorage();
}

void setApplicationTitleText(const QString& title)
{
    titleStorage() = title;
}

}  // namespace Product
