#include "shell/skin.h"

#include "shell/failure.h"

#include <QApplication>
#include <QDir>
#include <QFile>
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
