#pragma once

// "Export Deck…": the deck made by the program's own command-line export
// in a process of its own, so that the window stays free and a cancel ends
// it at once, its engine and files with it.
#include "shell/export_contract.h"

#include <QObject>
#include <QProcess>
#include <QStringList>

class DeckExportRun : public QObject {
    Q_OBJECT
public:
    // program and leading run the export: the program's own file and its
    // export option in the program.
    DeckExportRun(QString program, QStringList leading);
    ~DeckExportRun() override;

    // Makes the deck at target from the plan, handed over as the bytes of
    // a plan file on the export's standard input: nothing of it is left on
    // disk.
    void start(const QString& target, const QByteArray& plan);
    bool running() const { return mProcess.state() != QProcess::NotRunning; }
    // Interrupts the export as Ctrl+C does: it ends and leaves nothing.
    void cancel();

signals:
    // How the export ended (a crash counts as interrupted) and what it said
    // on its error output.
    void finished(ExportExit code, const QString& said);

private:
    QString mProgram;
    QStringList mLeading;
    QProcess mProcess;
};
