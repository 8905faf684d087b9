// The plan window: the plan editor under the "Start Creating Template"
// button, the menu bar above them and the status line below; the plan
// commands behind them (plans as files, the deck, editing and help), drops,
// start-up and the program's end.
#include "input/plan_window.h"

#include "desktop/app_icon.h"
#include "desktop/back_colors.h"
#include "desktop/hover_pointer.h"
#include "desktop/skin.h"
#include "desktop/window_style.h"
#include "engine/port/presentation_engine.h"
#include "generator/availability_checks.h"
#include "generator/deck_generation.h"
#include "generator/document_reading.h"
#include "generator/save_formats.h"
#include "input/deck_export_run.h"
#include "input/import_preview_dialog.h"
#include "input/keyboard_menu_bar.h"
#include "input/plan_editor.h"
#include "input/snapshots_dialog.h"
#include "input/spelling.h"
#include "plan/plan_designs.h"
#include "plan/plan_document.h"
#include "plan/plan_file.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/export_contract.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"
#include "shell/startup.h"
#include "shell/temporary_files.h"
#include "shell/twips.h"
#include "shell/unsaved_changes.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString kPlanFilter = QStringLiteral("Orvendale plans (*.orvendale)");

QString documentFilter()
{
    return QStringLiteral("Business plan documents (*.%1)")
        .arg(DocumentReading::suffixes().join(QStringLiteral(" *.")));
}

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

PlanWindow::PlanWindow(ShellServices services, PresentationEngine& engine, SpellChecker& spelling)
    : ProgramWindow(QStringLiteral("Form1"), services.dialogs),
      mServices(std::move(services)),
      mEngine(engine),
      mSpelling(spelling),
      mDocument(std::make_unique<PlanDocument>(mServices.store, mServices.dataFolder, mServices.desktopRecentList)),
      mPointer(new HoverPointer(*this))
{
    createControls();
    connectDocument();
    setAcceptDrops(true);
}

PlanWindow::~PlanWindow() = default;

// The controls keep their places in the client area, between the menu bar
// and the status line.
void PlanWindow::createControls()
{
    setFixedSize(twips(9465), kMenuBarHeight + twips(9975) + kStatusLineHeight);
    setFont(WindowStyle::arialBold(9));
    BackColors::paintBackground(*this, Qt::white);

    mCreateButton = new QPushButton(QStringLiteral("Start Creating Template"), this);
    mCreateButton->setGeometry(twipsRect(120, 118, 9240, 405).translated(0, kMenuBarHeight));
    mCreateButton->setFont(WindowStyle::arialBold(11.25));
    mCreateButton->setObjectName(QStringLiteral("createDeckButton"));
    mCreateButton->setAccessibleDescription(QStringLiteral("Makes the slide deck from the plan and shows it"));
    connect(mCreateButton, &QPushButton::clicked, this, [this] { createDeck(); });

    mEditor = new PlanEditor(*this, *mDocument, mSpelling, mServices);
    mEditor->setGeometry(0, kMenuBarHeight + twips(PlanEditor::kTop), twips(9465),
                         twips(9975) - twips(PlanEditor::kTop));
    mEditor->setTabOrderAround(mCreateButton);

    mPointer->watchButton(mCreateButton);
    mPointer->watchBackground(this);
    for (QWidget* panel : mEditor->panels())
        mPointer->watchBackground(panel);
    createMenus();
    createStatusLine();
}

void PlanWindow::load()
{
    ErrorTrap trap = trapFor(QStringLiteral("Form_Load"));
    trap.step(100, [&] { applySkin(*this, mServices.skin, mServices.programFolder); });
    trap.step(104, [&] {
        setWindowTitle(Product::name);
        setWindowIcon(AppIcon::icon());
        Startup::setApplicationTitle();
    });
    mPointer->loadHandCursor(trap, mServices.programFolder);
    trap.step(110, [&] { Startup::maybeOpenHomePage(mServices.clock, mServices.random, mServices.urls); });
    tellAboutDamagedStore();
    // The dictionary loads once the window is up: the plan shows at once,
    // and is underlined a moment later.
    QTimer::singleShot(0, mEditor, &PlanEditor::startSpelling);
    mDocument->readStore();
    mEditor->showStoredPlan(trap);
    trap.step(136, [&] { AvailabilityChecks::checkEngineInstalled(mEngine, mServices.dialogs, mServices.programEnd); });
}

void PlanWindow::createDeck()
{
    ErrorTrap trap = trapFor(QStringLiteral("PushButton1_Click"));
    if (mBusy)
        return;
    trap.step(102, [&] { mBusy = true; });
    sayBeforeLongWork(QStringLiteral("Making the deck; it shows in the deck viewer when it is ready."));
    // An engine still starting ahead of need is waited for from the event
    // loop: the window repaints, and closing it or a signal ends the
    // program meanwhile. A start that failed was told; this press ends.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    mEngine.whenSpareSettled([this](bool startFailed) {
        QGuiApplication::restoreOverrideCursor();
        if (startFailed)
            mBusy = false;
        else
            createDeckWithEngine();
    });
}

void PlanWindow::createDeckWithEngine()
{
    ErrorTrap trap = trapFor(QStringLiteral("PushButton1_Click"));
    bool cancel = false;
    trap.step(104, [&] { cancel = AvailabilityChecks::shouldCancelForRunningEngine(mEngine, mServices.dialogs); });
    if (!cancel) {
        QString path;
        bool taken = true;
        while (taken) {
            // "ps" and eight digits from 1 to 9: every deck gets a name of its
            // own in the temporary folder, so making one never overwrites a
            // deck a viewer, or another copy of the program, still has open;
            // a name already taken is drawn again. The time of day is mixed
            // into the generator before every digit, so that two copies whose
            // generators started alike still draw different names.
            QString name;
            trap.step(106, [&] { name = QStringLiteral("ps"); });
            for (int i = 0; i < 8; ++i) {
                int digit = 0;
                trap.step(110, [&] { mServices.random.reseed(mServices.clock.secondsSinceMidnight()); });
                trap.step(112, [&] { digit = static_cast<int>(mServices.random.next() * 9) + 1; });
                trap.step(114, [&] { name += QString::number(digit); });
            }
            trap.step(118, [&] { path = Files::tempFolder() + QStringLiteral("/") + name + QStringLiteral(".ppt"); });
            taken = trap.test(120, [&] { return Files::exists(path); });
        }
        TemporaryFiles::record(path);
        // The plan that made this deck, to go back to.
        // A snapshot that cannot be taken was told once, and holds no deck
        // back.
        trap.step(121, [&] {
            try {
                mDocument->takeSnapshot(PlanSnapshots::Kind::Deck);
            } catch (const Failure&) {
            }
        });
        trap.step(122, [&] {
            // A deck the engine went away from (it ended, or ran out of time)
            // is the template half filled: never shown or saved as made.
            const bool engineStayed = DeckGeneration::generateBusinessPlan(
                path,
                {[this] { return mEditor->companyName(); }, [this] { return mEditor->planTitle(); },
                 [this](const QString& key) { return mDocument->text(key); },
                 mServices.store.getSetting(PlanKeys::spellingLanguage)},
                {mEngine, mServices.dialogs, mServices.clock, mServices.programFolder,
                 PlanLogo::folder(mServices.dataFolder)});
            if (!engineStayed)
                TemporaryFiles::removeDeck(path);
        });
        if (trap.test(124, [&] { return Files::exists(path); })) {
            trap.step(128, [&] { emit deckCreated(path); });
            trap.step(130, [&] { hide(); });
        } else {
            TemporaryFiles::forget(path);
            trap.step(132, [&] { mServices.dialogs.message(QStringLiteral("Creation of template fail.")); });
        }
    }
    trap.step(136, [&] { mBusy = false; });
}

void PlanWindow::tellAboutDamagedStore()
{
    const QString keptAt = mServices.store.damagedFileKeptAt();
    if (!keptAt.isEmpty())
        mServices.dialogs.message(
            QStringLiteral("Your saved plan in %1 was damaged. It has been kept as %2, and everything "
                           "in it that could still be read has been restored.")
                .arg(QDir::toNativeSeparators(mServices.store.filePath()), QDir::toNativeSeparators(keptAt)));
}

void PlanWindow::chooseLogo()
{
    const QString file =
        mServices.dialogs.askOpenFileName(QStringLiteral("Choose the Company's Logo"), {PlanLogo::fileFilter()});
    if (!file.isEmpty())
        mEditor->setLogo(file);
}

void PlanWindow::setLogo(const QString& file)
{
    mEditor->setLogo(file);
}

void PlanWindow::removeLogo()
{
    mEditor->removeLogo();
}

void PlanWindow::unload()
{
    writePlanFileNow();
    UnsavedChanges::saveBeforeEnding(mServices.store, mServices.dialogs);
    mServices.programEnd.endNow();
}

void PlanWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    unload();
}

void PlanWindow::createMenus()
{
    mMenuBar = new KeyboardMenuBar(this);
    mMenuBar->setGeometry(0, 0, width(), kMenuBarHeight);
    mMenuBar->setObjectName(QStringLiteral("menuBar"));
    mMenuBar->setAccessibleName(QStringLiteral("Menu bar"));
    createPlanMenu();
    createEditMenu();
    createDeckMenu();
    createHelpMenu();
    // F10 opens the menu bar, as in other desktop programs.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this,
            [this] { mMenuBar->setActiveAction(mMenuBar->actions().first()); });
}

void PlanWindow::createPlanMenu()
{
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
    plan->addAction(QStringLiteral("&Import Document…"), this, [this] { importDocument(); });
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
}

void PlanWindow::createEditMenu()
{
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
}

void PlanWindow::createDeckMenu()
{
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
            handle(QStringLiteral("mnuDesign_Click"), [&] { mDocument->setText(PlanKeys::design, id); });
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
        fillLanguageMenu(*languages, mSpelling,
                         [this](const QString& language) { mEditor->chooseSpellingLanguage(language); });
    });
    connect(mEditor, &PlanEditor::logoShown, mRemoveLogoAction, &QAction::setEnabled);
}

void PlanWindow::createHelpMenu()
{
    QMenu* help = mMenuBar->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&Home Page"), this, [this] { mServices.urls.open(Product::homePageUrl); });
    help->addAction(QStringLiteral("&About Orvendale"), this, [this] {
        mServices.dialogs.message(
            QStringLiteral("%1 %2\nCopyright 2026 %3. All rights reserved.\nDecks are made with %4.")
                .arg(Product::name, QCoreApplication::applicationVersion(), Product::makerName,
                     QStringList{mEngine.applicationName(), mEngine.applicationVersion()}.join(' ').trimmed()));
    });
}

void PlanWindow::createStatusLine()
{
    mStatusLine = new QLabel(this);
    mStatusLine->setObjectName(QStringLiteral("statusLine"));
    mStatusLine->setGeometry(4, height() - kStatusLineHeight, width() - 8, kStatusLineHeight);
    QFont regular = font();
    regular.setBold(false);
    mStatusLine->setFont(regular);
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

// What the plan document tells without being asked: a plan file that can
// no longer be written (once), one another program changed, a snapshot
// that could not be taken (once).
void PlanWindow::connectDocument()
{
    connect(mDocument.get(), &PlanDocument::replaced, mEditor, &PlanEditor::showPlan);
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

void PlanWindow::importDocument()
{
    const QString path = mServices.dialogs.askOpenFileName(QStringLiteral("Import Document"), {documentFilter()});
    if (!path.isEmpty())
        importDocumentFile(path);
}

// The document is read by the engine kept ahead of need, waited for from
// the event loop as a deck's is (Markdown needs none); what it would become
// is shown before anything changes.
void PlanWindow::importDocumentFile(const QString& path)
{
    if (mBusy)
        return;
    mBusy = true;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto readAndPreview = [this, path](bool startFailed) {
        std::optional<ImportedDocument> document;
        if (!startFailed) {
            try {
                const QTemporaryDir work(Files::tempFolder() + QStringLiteral("/orvendale-import-XXXXXX"));
                if (!work.isValid())
                    throw Failure(QStringLiteral("%1 cannot be imported: no working folder can be made in %2.")
                                      .arg(QDir::toNativeSeparators(path), Files::tempFolder()));
                document = DocumentReading::read(mEngine, path, work.path());
            } catch (const Failure& failure) {
                mServices.dialogs.message(failure.description());
            }
        }
        QGuiApplication::restoreOverrideCursor();
        mBusy = false;
        if (document)
            previewImport(std::move(*document), QFileInfo(path).fileName());
    };
    if (DocumentReading::needsEngine(path))
        mEngine.whenSpareSettled(readAndPreview);
    else
        readAndPreview(false);
}

void PlanWindow::previewImport(ImportedDocument document, const QString& documentName)
{
    ImportPreviewDialog preview(std::move(document), documentName, this);
    if (preview.exec() != QDialog::Accepted)
        return;
    try {
        mDocument->importPlan(preview.plan(), documentName);
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
                                              QStringList{QStringLiteral("--") + ExportContract::kOption});
    auto* progress = new QProgressDialog(QStringLiteral("Making the deck %1…").arg(QFileInfo(path).fileName()),
                                         QStringLiteral("Cancel"), 0, 0, this);
    progress->setObjectName(QStringLiteral("exportProgress"));
    progress->setWindowModality(Qt::WindowModal);
    connect(progress, &QProgressDialog::canceled, mExport.get(), &DeckExportRun::cancel);
    connect(
        mExport.get(), &DeckExportRun::finished, this, [this, progress, path](ExportExit code, const QString& said) {
            // A cancelled box is hidden already; either way it goes now.
            progress->close();
            progress->deleteLater();
            // The export says each note or failure on a line of its own.
            static const QRegularExpression prefix(QStringLiteral("^orvendale: "), QRegularExpression::MultilineOption);
            const QString told = QString(said).remove(prefix).trimmed();
            if (code == ExportExit::Made)
                mServices.dialogs.message(QStringLiteral("The deck is saved as %1.").arg(QDir::toNativeSeparators(path))
                                          + (told.isEmpty() ? QString() : QStringLiteral("\n\n") + told));
            else if (code != ExportExit::Interrupted)
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
    if (isPlanFile(path) || DocumentReading::isDocument(path) || PlanLogo::hasPictureName(path))
        event->acceptProposedAction();
}

void PlanWindow::dropEvent(QDropEvent* event)
{
    const QString path = droppedFile(event->mimeData());
    if (isPlanFile(path)) {
        event->acceptProposedAction();
        openPlanFile(path);
    } else if (DocumentReading::isDocument(path)) {
        event->acceptProposedAction();
        importDocumentFile(path);
    } else if (PlanLogo::hasPictureName(path)) {
        event->acceptProposedAction();
        mEditor->setLogo(path);
    }
}
