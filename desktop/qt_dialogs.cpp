#include "desktop/qt_dialogs.h"

#include "shell/line_breaks.h"
#include "shell/product.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::StandardButton run(QMessageBox::Icon icon, const QString& title, const QString& text,
                                QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, LineBreaks::toLf(text), buttons, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtDialogs::errorReport(const QString& text)
{
    run(QMessageBox::Warning, QStringLiteral("Application Error"), text, QMessageBox::Ok);
}

void QtDialogs::message(const QString& text)
{
    run(QMessageBox::NoIcon, Product::applicationTitle(), text, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(const QString& text)
{
    return run(QMessageBox::NoIcon, Product::applicationTitle(), text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

SaveChoice QtDialogs::askSaveFileName(const QString& title, const QStringList& filters)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program asks about overwriting itself, and takes the name as typed.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().first(), dialog.selectedNameFilter()};
}

QString QtDialogs::askOpenFileName(const QString& title, const QStringList& filters)
{
    QFileDialog dialog(QApplication::activeWindow(), title);
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}
