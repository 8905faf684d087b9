#include "desktop/skin.h"

#include "desktop/back_colors.h"
#include "shell/failure.h"
#include "shell/product.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QWidget>

void StyleSheetSkin::loadSkin(const QString& skinFile, const QString& /*variant*/)
{
    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw Failure(QStringLiteral("The skin file %1 could not be read: %2.")
                          .arg(QDir::toNativeSeparators(skinFile), file.errorString()));
    mStyleSheet = QString::fromUtf8(file.readAll());
}

void StyleSheetSkin::applyWindow(QWidget& window)
{
    if (!mEnabled)
        return;
    if (mApplyToDialogs || (mOptions & StylePopups))
        qApp->setStyleSheet(mStyleSheet);
    else
        window.setStyleSheet(mStyleSheet);
}

void applySkin(QWidget& window, Skin& skin, const QString& programFolder)
{
    const QString path = Product::besideProgram(programFolder, QStringLiteral("x/o.cjs"));
    if (!QFileInfo(path).isFile())
        return;
    BackColors::setSkinBackColors(window);
    skin.loadSkin(path, QString());
    skin.setOptions(skin.options() | Skin::StylePopups);
    skin.setApplyToDialogs(true);
    skin.setEnabled(true);
    skin.applyWindow(window);
}
