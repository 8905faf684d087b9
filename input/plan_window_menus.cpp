// The plan window's menu bar and status line, and the plan commands behind
// them: plans as files, the deck, editing and help.
#include "engine/port/presentation_engine.h"
#include "generator/save_formats.h"
#include "input/deck_export_run.h"
#include "input/keyboard_menu_bar.h"
#include "input/plan_window.h"
#include "input/snapshots_dialog.h"
#include "input/spelling.h"
#include "input/tab_strip.h"
#include "plan/plan_designs.h"
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "plan/plan_sections.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QShortcut>

namespace {

const QString kPlanFilter = QStringLiteral("Orvendale plans (*.orvendale)");

// The one local file a drag carries, or "".
QString droppedFile(const QMimeData* data)
{
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    return data->urls().first().toLocalFile();
}

bool isPlanFile(const QString& path)
{
    return QFileInfo(path).suffix() == PlanFile::kSuffix;
}

}  // namespace

void PlanWindow::createMenus()
{
    mMenuBar = new KeyboardMenuBar(this);
    mMenuBar->setGeometry(0, 0, width(), kMenuBarHeight);
    mMenuBar->setObjectName(QStringLiteral("menuBar"));
    mMenuBar->setAccessibleName(QStringLiteral("Menu bar"));

    QMenu* plan = mMenuBar->addMenu(QStringLiteral("&Plan"));
    plan->addAction(QStringLiteral("&New"), QKeySequence::New, this, [this] { newPlan(); });
    plan->addAction(QStringLiteral("&Open…"), QKeySequence::Open, this, [this] { openPlan(); });
    QMenu* recent = plan->addMenu(QStringLiteral("Open &Recent"));
    connect(recent, &QMenu::aboutToShow, this, [this, recent] {
        recent->clear();
        const QStringList files = mDocument->recentFiles();
        if (files.isEmpty())
            recent->addAction(QStringLiteral("No plan files yet"))->setEnabled(false);
        for (const QString& file : files)
            recent->addAction(QDir::toNativeSeparators(file), this, [this, file] { openPlanFile(file); });
    });
    plan->addAction(QStringLiteral("Save &As…"), QKeySequence(QStringLiteral("Ctrl+Shift+S")), this,
                    [this] { savePlanAs(); });
    plan->addAction(QStringLiteral("&Export Deck…"), this, [this] { exportDeckFile(); });
    plan->addAction(QStringLiteral("&Snapshots…"), this, [this] {
        // The keyboard goes back to the control used before,
        // whichever way the dialog was closed.
        QWidget* before = focusWidget();
        SnapshotsDialog(*mDocument, mServices.dialogs, this).exec();
        activateWindow();
        if (before)
            before->setFocus(Qt::ActiveWindowFocusReason);
    });
    plan->addSeparator();
    plan->addAction(QStringLiteral("&Quit"), QKeySequence::Quit, this, [this] { close(); });

    // The edit commands act on the box that has the window's focus; both
    // kinds of box have them under the same names.
    QMenu* edit = mMenuBar->addMenu(QStringLiteral("&Edit"));
    const auto onFocusedBox = [this](const char* command) {
        return [this, command] {
            QWidget* box = focusWidget();
            if (qobject_cast<QLineEdit*>(box) || qobject_cast<QPlainTextEdit*>(box))
                QMetaObject::invokeMethod(box, command);
        };
    };
    edit->addAction(QStringLiteral("&Undo"), QKeySequence::Undo, this, onFocusedBox("undo"));
    edit->addAction(QStringLiteral("&Redo"), QKeySequence::Redo, this, onFocusedBox("redo"));
    edit->addSeparator();
    edit->addAction(QStringLiteral("Cu&t"), QKeySequence::Cut, this, onFocusedBox("cut"));
    edit->addAction(QStringLiteral("&Copy"), QKeySequence::Copy, this, onFocusedBox("copy"));
    edit->addAction(QStringLiteral("&Paste"), QKeySequence::Paste, this, onFocusedBox("paste"));
    edit->addSeparator();
    edit->addAction(QStringLiteral("Select &All"), QKeySequence::SelectAll, this, onFocusedBox("selectAll"));

    QMenu* deck = mMenuBar->addMenu(QStringLiteral("&Deck"));
    deck->addAction(QStringLiteral("&Start Creating Template"), this, [this] { createDeck(); });
    deck->addSeparator();
    deck->addAction(QStringLiteral("L&ogo…"), this, [this] { chooseLogo(); });
    mRemoveLogoAction = deck->addAction(QStringLiteral("&Remove Logo"), this, [this] { removeLogo(); });
    QMenu* designs = deck->addMenu(QStringLiteral("D&esign"));
    auto* designGroup = new QActionGroup(designs);
    for (const PlanDesigns::Design& design : PlanDesigns::all()) {
        QAction* choice = designs->addAction(QLatin1Char('&') + design.name);
        choice->setCheckable(true);
        choice->setData(design.id);
        designGroup->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, id = design.id] {
            untrapped(QStringLiteral("mnuDesign_Click"), [&] { storeText(PlanKeys::design, id); });
        });
    }
    // The plan's choice, which opening a plan may change.
    connect(designs, &QMenu::aboutToShow, this, [this, designGroup] {
        const QString chosen = PlanDesigns::chosen(mDocument->text(PlanKeys::design)).id;
        for (QAction* choice : designGroup->actions())
            choice->setChecked(choice->data().toString() == chosen);
    });
    deck->addSeparator();
    QMenu* languages = deck->addMenu(QStringLiteral("Spelling &Language"));
    connect(languages, &QMenu::aboutToShow, this, [this, languages] {
        fillLanguageMenu(*languages, mSpelling, [this](const QString& language) { chooseSpellingLanguage(language); });
    });

    QMenu* help = mMenuBar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Home Page"), this, [this] { mServices.urls.open(Product::homePageUrl); });
    help->addAction(QStringLiteral("&About Orvendale"), this, [this] {
        mServices.dialogs.message(
            QStringLiteral("%1 %2\nCopyright 2026 %3. All rights reserved.\nDecks are made with %4.")
                .arg(Product::name, QCoreApplication::applicationVersion(), Product::makerName,
                     QStringList{mEngine.applicationName(), mEngine.applicationVersion()}.join(' ').trimmed()));
    });
    // F10 opens the menu bar, as in other desktop programs; Shift+F10 the
    // menu of the box with the focus, as the menu key does.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this,
            [this] { mMenuBar->setActiveAction(mMenuBar->actions().first()); });
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        QWidget* box = focusWidget();
        if (!box)
            return;
        const QPoint at = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, box->mapToGlobal(at));
        QApplication::sendEvent(box, &menuKey);
    });

    mStatusLine = new QLabel(this);
    mStatusLine->setObjectName(QStringLiteral("statusLine"));
    mStatusLine->setGeometry(4, height() - kStatusLineHeight, width() - 8, kStatusLineHeight);
    QFont regular = font();
    regular.setBold(false);
    mStatusLine->setFont(regular);
    setAcceptDrops(true);
    showDocumentState();
}

void PlanWindow::showDocumentState()
{
    const QString file = QDir::toNativeSeparators(mDocument->file());
    QString where;
    if (file.isEmpty())
        where = QStringLiteral("The plan is kept in %1's store").arg(Product::name);
    else if (mDocument->fileWriteFailing())
        where =
            QStringLiteral("The plan is kept in %1's store: plan file %2 cannot be written").arg(Product::name, file);
    else if (!mDocument->notLockedBecause().isEmpty())
        where = QStringLiteral("Plan file %1 (not locked against other windows: %2)")
                    .arg(file, mDocument->notLockedBecause());
    else
        where = QStringLiteral("Plan file %1").arg(file);
    const QDateTime written = mDocument->lastWritten();
    mStatusLine->setText(
        written.isValid()
            ? where + QStringLiteral(" · last written at %1").arg(written.toLocalTime().toString("HH:mm:ss"))
            : where);
}

void PlanWindow::showPlan()
{
    showStored(mCompanyNameBox, PlanKeys::companyName);
    showStored(mPlanTitleBox, PlanKeys::planTitle);
    // An empty section shows its guide, which is stored as at a first start.
    showSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox);
    showSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox);
    showLogo();
}

// What the plan document tells without being asked: a plan file that can
// no longer be written (once), one another program changed, a snapshot
// that could not be taken (once).
void PlanWindow::connectDocument()
{
    connect(mDocument.get(), &PlanDocument::replaced, this, [this] { showPlan(); });
    connect(mDocument.get(), &PlanDocument::stateChanged, this, [this] { showDocumentState(); });
    connect(mDocument.get(), &PlanDocument::fileWriteFailed, this, [this](const QString& description) {
        mServices.dialogs.message(description
                                  + QStringLiteral(" Your plan is kept in %1's store meanwhile, and written to the "
                                                   "file again as soon as that works.")
                                        .arg(Product::name));
    });
    connect(mDocument.get(), &PlanDocument::fileChangedElsewhere, this,
            [this](const QString& description) { resolveFileChangedElsewhere(description); });
    connect(mDocument.get(), &PlanDocument::logoRefused, this, [this](const QString& description) {
        mServices.dialogs.message(QStringLiteral("The plan opens without the logo it carries. %1").arg(description));
    });
    connect(mDocument.get(), &PlanDocument::snapshotFailed, this, [this](const QString& description) {
        mServices.dialogs.message(
            description + QStringLiteral(" %1 goes on without taking snapshots until it can.").arg(Product::name));
    });
}

// The plan file holds another program's version: the user keeps theirs as
// a new file, or takes that version (theirs kept as a snapshot). Neither
// is ever written over the other without asking.
void PlanWindow::resolveFileChangedElsewhere(const QString& description)
{
    const QString file = QDir::toNativeSeparators(mDocument->file());
    if (mServices.dialogs.askYesNo(description
                                   + QStringLiteral("\n\nChoose Yes to reload it (the plan as this window has it is "
                                                    "kept as a snapshot), No to keep yours as a new plan file."))) {
        try {
            mDocument->reload();
            return;
        } catch (const Failure& failure) {
            mServices.dialogs.message(failure.description());
        }
    }
    if (!savePlanAs()) {
        mDocument->letGoOfFile();
        mServices.dialogs.message(QStringLiteral("Your plan is kept in %1's store; %2 stays as the other program "
                                                 "left it.")
                                      .arg(Product::name, file));
    }
}

void PlanWindow::newPlan()
{
    try {
        mDocument->startNew();
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
}

void PlanWindow::openPlan()
{
    const QString path = mServices.dialogs.askOpenFileName(QStringLiteral("Open Plan"), {kPlanFilter});
    if (!path.isEmpty())
        openPlanFile(path);
}

// A file that is no plan is told as what it is, not as an error of the
// program; the plan stays as it was. A plan open in another window may be
// opened as a copy of its own.
void PlanWindow::openPlanFile(const QString& path)
{
    try {
        try {
            mDocument->open(path);
        } catch (const PlanDocument::FileInUse& inUse) {
            if (mServices.dialogs.askYesNo(
                    inUse.description()
                    + QStringLiteral("\n\nDo you want to open a copy of it here? The copy is kept in %1's store "
                                     "until you save it as a plan file of its own.")
                          .arg(Product::name)))
                mDocument->openCopy(path);
        }
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
}

bool PlanWindow::savePlanAs()
{
    QString path = mServices.dialogs.askSaveFileName(QStringLiteral("Save Plan As"), {kPlanFilter}).fileName;
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix() != PlanFile::kSuffix)
        path += QLatin1Char('.') + PlanFile::kSuffix;
    if (QFileInfo::exists(path)
        && !mServices.dialogs.askYesNo(
            QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(QDir::toNativeSeparators(path))))
        return false;
    try {
        mDocument->saveAs(path);
        return true;
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
        return false;
    }
}

void PlanWindow::exportDeckFile()
{
    if (mExport && mExport->running())
        return;
    const SaveChoice choice = mServices.dialogs.askSaveFileName(QStringLiteral("Export Deck"), saveFilters());
    if (choice.fileName.isEmpty())
        return;
    // A name without one of the formats' endings takes the chosen type's.
    const QString path = saveTarget(choice.fileName, choice.filter).fileName;
    mExport = std::make_unique<DeckExportRun>(mServices.programFolder + QStringLiteral("/orvendale"),
                                              QStringList{QStringLiteral("--export")});
    auto* progress = new QProgressDialog(QStringLiteral("Making the deck %1…").arg(QFileInfo(path).fileName()),
                                         QStringLiteral("Cancel"), 0, 0, this);
    progress->setObjectName(QStringLiteral("exportProgress"));
    progress->setWindowModality(Qt::WindowModal);
    connect(progress, &QProgressDialog::canceled, mExport.get(), &DeckExportRun::cancel);
    connect(mExport.get(), &DeckExportRun::finished, this, [this, progress, path](int code, const QString& said) {
        // A cancelled box is hidden already; either way it goes now.
        progress->close();
        progress->deleteLater();
        // The export says each note or failure on a line of its own.
        static const QRegularExpression prefix(QStringLiteral("^orvendale: "), QRegularExpression::MultilineOption);
        const QString told = QString(said).remove(prefix).trimmed();
        if (code == 0)
            mServices.dialogs.message(QStringLiteral("The deck is saved as %1.").arg(QDir::toNativeSeparators(path))
                                      + (told.isEmpty() ? QString() : QStringLiteral("\n\n") + told));
        else if (code != 130)
            mServices.dialogs.message(QStringLiteral("The deck could not be made: %1").arg(told));
    });
    mExport->start(path, mDocument->asPlanFile());
    progress->show();
}

void PlanWindow::writePlanFileNow()
{
    try {
        mDocument->writeNow();
    } catch (const PlanDocument::FileChangedElsewhere& changed) {
        resolveFileChangedElsewhere(changed.description());
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description()
                                  + QStringLiteral(" Your plan is kept in %1's store.").arg(Product::name));
    }
}

void PlanWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (isPlanFile(path) || PlanLogo::hasPictureName(path))
        event->acceptProposedAction();
}

void PlanWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (isPlanFile(path)) {
        event->acceptProposedAction();
        openPlanFile(path);
    } else if (PlanLogo::hasPictureName(path)) {
        event->acceptProposedAction();
        setLogo(path);
    }
}
