#pragma once

#include "shell/dialogs.h"

// Dialogs shown with QMessageBox.
class QtDialogs : public Dialogs {
public:
    void errorReport(const QString& text) override;
    void message(const QString& text) override;
    bool askYesNo(const QString& text) override;
    SaveChoice askSaveFileName(const QString& title, const QStringList& filters) override;
    QString askOpenFileName(const QString& title, const QStringList& filters) override;
};
