#pragma once

// "Snapshots…": the plan's snapshots, newest first, to restore or delete,
// and a named one to take now.
#include "plan/plan_snapshots.h"

#include <QDialog>

#include <functional>

class Dialogs;
class PlanDocument;
class QLineEdit;
class QListWidget;
class QPushButton;

class SnapshotsDialog : public QDialog {
    Q_OBJECT
public:
    SnapshotsDialog(PlanDocument& document, Dialogs& dialogs, QWidget* parent = nullptr);

    // The commands of its buttons; each tells its failure in a message.
    void restoreSelected();
    void deleteSelected();
    void takeNamed();

private:
    void showList();
    void tell(const std::function<void()>& command);

    PlanDocument& mDocument;
    Dialogs& mDialogs;
    // The snapshots the list shows, in its order.
    QList<PlanSnapshots::Snapshot> mShown;
    QListWidget* mList;
    QLineEdit* mName;
    QPushButton* mRestore;
    QPushButton* mDelete;
};
