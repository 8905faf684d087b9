#include "input/snapshots_dialog.h"

#include "plan/plan_document.h"
#include "shell/dialogs.h"
#include "shell/failure.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

SnapshotsDialog::SnapshotsDialog(PlanDocument& document, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), mDocument(document), mDialogs(dialogs)
{
    setWindowTitle(QStringLiteral("Snapshots"));
    resize(560, 420);
    mList = new QListWidget;
    mList->setObjectName(QStringLiteral("snapshotList"));
    mRestore = new QPushButton(QStringLiteral("&Restore"));
    mDelete = new QPushButton(QStringLiteral("&Delete"));
    mName = new QLineEdit;
    mName->setPlaceholderText(QStringLiteral("A name for the plan as it stands"));
    mList->setAccessibleName(QStringLiteral("Snapshots"));
    for (QScrollBar* bar : {mList->verticalScrollBar(), mList->horizontalScrollBar()})
        bar->setAccessibleName(QStringLiteral("Snapshots scroll bar"));
    mName->setAccessibleName(QStringLiteral("Snapshot name"));
    mName->setAccessibleDescription(QStringLiteral("Take Snapshot keeps the plan as it stands under this name"));
    auto* take = new QPushButton(QStringLiteral("&Take Snapshot"));
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close);

    auto* choices = new QHBoxLayout;
    choices->addWidget(mRestore);
    choices->addWidget(mDelete);
    choices->addStretch();
    auto* naming = new QHBoxLayout;
    naming->addWidget(mName, 1);
    naming->addWidget(take);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("The plan as it stood before a new plan, an opened one, an import or a "
                                  "restore, when a deck was made, and when you took a snapshot:")));
    layout->addWidget(mList, 1);
    layout->addLayout(choices);
    layout->addLayout(naming);
    layout->addWidget(close);

    connect(mRestore, &QPushButton::clicked, this, [this] { restoreSelected(); });
    connect(mDelete, &QPushButton::clicked, this, [this] { deleteSelected(); });
    connect(take, &QPushButton::clicked, this, [this] { takeNamed(); });
    connect(mName, &QLineEdit::returnPressed, this, [this] { takeNamed(); });
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(mList, &QListWidget::itemSelectionChanged, this, [this] {
        mRestore->setEnabled(mList->currentRow() >= 0);
        mDelete->setEnabled(mList->currentRow() >= 0);
    });
    showList();
}

void SnapshotsDialog::showList()
{
    mList->clear();
    mShown = mDocument.snapshots().list();
    for (const PlanSnapshots::Snapshot& snapshot : std::as_const(mShown))
        mList->addItem(QStringLiteral("%1 · %2 · %3")
                           .arg(snapshot.taken.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                                snapshot.label(), snapshot.firstWords));
    // The newest is chosen to begin with.
    mRestore->setEnabled(false);
    mDelete->setEnabled(false);
    if (mList->count() > 0)
        mList->setCurrentRow(0);
}

void SnapshotsDialog::restoreSelected()
{
    const int row = mList->currentRow();
    if (row < 0)
        return;
    tell([&] { mDocument.restore(mShown.at(row)); });
    showList();
}

void SnapshotsDialog::deleteSelected()
{
    const int row = mList->currentRow();
    if (row < 0)
        return;
    mDocument.snapshots().remove(mShown.at(row));
    showList();
}

void SnapshotsDialog::takeNamed()
{
    const QString name = mName->text().simplified();
    if (name.isEmpty())
        return;
    tell([&] { mDocument.takeSnapshot(PlanSnapshots::Kind::Named, name); });
    mName->clear();
    showList();
}

void SnapshotsDialog::tell(const std::function<void()>& command)
{
    try {
        command();
    } catch (const Failure& failure) {
        mDialogs.message(failure.description());
    }
}
