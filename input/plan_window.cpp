#include "input/plan_window.h"

#include "desktop/app_icon.h"
#include "desktop/back_colors.h"
#include "desktop/controls.h"
#include "desktop/hover_pointer.h"
#include "desktop/skin.h"
#include "desktop/window_style.h"
#include "engine/port/presentation_engine.h"
#include "generator/availability_checks.h"
#include "generator/deck_generation.h"
#include "input/deck_export_run.h"
#include "input/section_box_accessible.h"
#include "input/spelling.h"
#include "input/tab_strip.h"
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "plan/plan_sections.h"
#include "shell/dialogs.h"
#include "shell/error_report.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/file_utils.h"
#include "shell/line_breaks.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "shell/side_effects.h"
#include "shell/startup.h"
#include "shell/temporary_files.h"
#include "shell/twips.h"
#include "shell/unsaved_changes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <exception>
#include <limits>
#include <memory>

namespace {

// A section box's text as typed, with CR LF between lines as the store keeps
// it: its plain-text form would turn no-break spaces into plain ones, so the
// raw text is taken and only its line and paragraph breaks are converted.
QString typedText(const QTextDocument& box)
{
    return LineBreaks::toCrLf(box.toRawText());
}

// Focus that returns to a box from a menu, a dialog or another window.
bool isComingBack(const QFocusEvent& focus)
{
    return focus.reason() == Qt::PopupFocusReason || focus.reason() == Qt::MenuBarFocusReason
           || focus.reason() == Qt::ActiveWindowFocusReason;
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
    installSectionBoxAccessible();
    createControls();
    connectHandlers();
}

PlanWindow::~PlanWindow() = default;

void PlanWindow::createControls()
{
    // The controls keep their places in the client area, between the menu
    // bar and the status line.
    mClientArea = new QWidget(this);
    mClientArea->setGeometry(0, kMenuBarHeight, twips(9465), twips(9975));
    setFixedSize(twips(9465), kMenuBarHeight + twips(9975) + kStatusLineHeight);
    setFont(WindowStyle::arialBold(9));
    BackColors::paintBackground(*this, Qt::white);

    mCreateButton = new QPushButton(QStringLiteral("Start Creating Template"), mClientArea);
    mCreateButton->setGeometry(twipsRect(120, 118, 9240, 405));
    mCreateButton->setFont(WindowStyle::arialBold(11.25));

    mCompanyNameFrame = new QGroupBox(QStringLiteral("Company Name"), mClientArea);
    mCompanyNameFrame->setGeometry(twipsRect(120, 600, 9240, 820));
    mCompanyNameBox = new QLineEdit(mCompanyNameFrame);
    mCompanyNameBox->setGeometry(twipsRect(240, 300, 8760, 375));
    mCompanyNameBox->setMaxLength(std::numeric_limits<int>::max());
    createLogoPreview();

    mPlanTitleFrame = new QGroupBox(QStringLiteral("Business Plan"), mClientArea);
    mPlanTitleFrame->setGeometry(twipsRect(120, 1540, 9240, 820));
    mPlanTitleBox = new QLineEdit(mPlanTitleFrame);
    mPlanTitleBox->setGeometry(twipsRect(240, 300, 8760, 375));
    mPlanTitleBox->setMaxLength(std::numeric_limits<int>::max());
    for (QGroupBox* frame : {mCompanyNameFrame, mPlanTitleFrame})
        BackColors::paintBackground(*frame, Qt::white);

    const auto makeStrip = [this](const SectionGroup& sections, int top, PictureBox*& picture, QPlainTextEdit*& box) {
        auto* strip = new TabStrip(sections.captions(), twips(500), mClientArea);
        strip->setGeometry(twipsRect(120, top, 9240, 3615));
        picture = new PictureBox(mClientArea);
        picture->setGeometry(twipsRect(135, top + 540, 9150, 3030));
        QPalette page = picture->palette();
        page.setColor(QPalette::Window, page.color(QPalette::Base));
        page.setColor(QPalette::WindowText, page.color(QPalette::Text));
        picture->setPalette(page);
        picture->setAutoFillBackground(true);
        box = new QPlainTextEdit(picture);
        box->setGeometry(twipsRect(90, 90, 8970, 2805));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->verticalScrollBar()->setAccessibleName(QStringLiteral("Section text scroll bar"));
        box->horizontalScrollBar()->setAccessibleName(QStringLiteral("Section text scroll bar"));
        box->setTabChangesFocus(true);
        strip->takeTabKeysFrom(box);
        return strip;
    };
    mFirstSectionTabs = makeStrip(firstSectionGroup(), 2505, mFirstSectionPage, mFirstSectionBox);
    mSecondSectionTabs = makeStrip(secondSectionGroup(), 6240, mSecondSectionPage, mSecondSectionBox);

    for (const auto& [control, name] :
         std::initializer_list<std::pair<QObject*, const char*>>{{mCreateButton, "createDeckButton"},
                                                                 {mCompanyNameFrame, "companyNameFrame"},
                                                                 {mCompanyNameBox, "companyNameBox"},
                                                                 {mPlanTitleFrame, "planTitleFrame"},
                                                                 {mPlanTitleBox, "planTitleBox"},
                                                                 {mFirstSectionTabs, "firstSectionTabs"},
                                                                 {mFirstSectionPage, "firstSectionPage"},
                                                                 {mFirstSectionBox, "firstSectionBox"},
                                                                 {mSecondSectionTabs, "secondSectionTabs"},
                                                                 {mSecondSectionPage, "secondSectionPage"},
                                                                 {mSecondSectionBox, "secondSectionBox"}})
        control->setObjectName(QLatin1String(name));
    describeControls();

    setTabOrder(mCompanyNameBox, mPlanTitleBox);
    setTabOrder(mPlanTitleBox, mFirstSectionBox);
    setTabOrder(mFirstSectionBox, mSecondSectionBox);
    setTabOrder(mSecondSectionBox, mCreateButton);
    setTabOrder(mCreateButton, mFirstSectionTabs->tabBar());
    setTabOrder(mFirstSectionTabs->tabBar(), mSecondSectionTabs->tabBar());
    mCompanyNameBox->setFocus();
    createMenus();
}

// What a screen reader says of each control; a section box's name follows
// its tab. (A tab strip is heard by the section it shows: Qt's tab strips
// answer with their current tab's caption alone.)
void PlanWindow::describeControls()
{
    mCreateButton->setAccessibleDescription(QStringLiteral("Makes the slide deck from the plan and shows it"));
    mCompanyNameBox->setAccessibleName(QStringLiteral("Company name"));
    mCompanyNameBox->setAccessibleDescription(QStringLiteral("On the title slide and in every slide's footer"));
    mPlanTitleBox->setAccessibleName(QStringLiteral("Plan title"));
    mPlanTitleBox->setAccessibleDescription(QStringLiteral("On the title slide, under the company name"));
    for (QPlainTextEdit* box : {mFirstSectionBox, mSecondSectionBox})
        box->setAccessibleDescription(
            QStringLiteral("Each line becomes a bullet point of the section's slide. A line Notes: starts the "
                           "speaker notes, a line Chart: a chart. Control+Page Down shows the next section."));
    mLogoPreview->setAccessibleName(QStringLiteral("Company logo"));
}

void PlanWindow::connectHandlers()
{
    connect(mCompanyNameBox, &QLineEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtCompanyName_Change"), [this] { companyNameChanged(); }); });
    connect(mPlanTitleBox, &QLineEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtBusinessPlan_Change"), [this] { planTitleChanged(); }); });
    connect(mFirstSectionBox, &QPlainTextEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtFirstStatement_Change"), [this] { firstSectionChanged(); }); });
    connect(mSecondSectionBox, &QPlainTextEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtSecondStatement_Change"), [this] { secondSectionChanged(); }); });
    connect(mCreateButton, &QPushButton::clicked, this, [this] { createDeck(); });
    connect(mFirstSectionTabs, &TabStrip::clicked, this, [this](int previous) {
        untrapped(QStringLiteral("SSTab1_Click"), [&] { firstSectionTabChanged(previous); });
    });
    connect(mSecondSectionTabs, &TabStrip::clicked, this, [this](int previous) {
        untrapped(QStringLiteral("SSTab3_Click"), [&] { secondSectionTabChanged(previous); });
    });
    // The company name is a proper name: it is not spell-checked.
    new LineSpelling(*mPlanTitleBox, mSpelling);
    new SpellingHighlighter(*mFirstSectionBox, mSpelling);
    new SpellingHighlighter(*mSecondSectionBox, mSpelling);
    // A menu asked for with the mouse comes to a section box's viewport,
    // one asked for from the keyboard to the box itself.
    for (QObject* box :
         std::initializer_list<QObject*>{mCompanyNameBox, mPlanTitleBox, mFirstSectionBox, mFirstSectionBox->viewport(),
                                         mSecondSectionBox, mSecondSectionBox->viewport()})
        box->installEventFilter(this);

    connectDocument();

    mPointer->watchButton(mCreateButton);
    mPointer->watchBackground(this);
    mPointer->watchBackground(mClientArea);
    mPointer->watchBackground(mCompanyNameFrame);
    mPointer->watchBackground(mPlanTitleFrame);
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
    QTimer::singleShot(0, this, [this] { startSpelling(); });
    mDocument->readStore();
    loadStep(trap, 128, [&] { showStored(mCompanyNameBox, PlanKeys::companyName); });
    loadStep(trap, 130, [&] { showStored(mPlanTitleBox, PlanKeys::planTitle); });
    showLogo();
    loadStep(trap, 132, [&] { firstSectionTabChanged(0); });
    loadStep(trap, 134, [&] { secondSectionTabChanged(0); });
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
                {[this] { return mCompanyNameBox->text(); }, [this] { return mPlanTitleBox->text(); },
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

void PlanWindow::firstSectionTabChanged(int /*previousTab*/)
{
    showSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox);
}

void PlanWindow::secondSectionTabChanged(int /*previousTab*/)
{
    showSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox);
}

void PlanWindow::showSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box)
{
    const int tab = strip->currentTab();
    box->setAccessibleName(QStringLiteral("%1 section")
                               .arg(strip->tabBar()->tabText(tab).replace(QLatin1String("&&"), QLatin1String("&"))));
    if (tab >= 0 && tab < sections.count()) {
        const QString stored = mDocument->text(sections.key(tab));
        if (stored.isEmpty()) {
            box->setPlainText(LineBreaks::toLf(sections.guideText(tab)));
        } else {
            const QScopedValueRollback showing(mShowingStoredText, true);
            box->setPlainText(LineBreaks::toLf(stored));
        }
    }
    if (box->hasFocus())
        say(QStringLiteral("%1: %2").arg(box->accessibleName(), box->document()->firstBlock().text()));
    else if (box->isEnabled() && box->isVisible())
        box->setFocus();
}

// A box that is being filled with what the store holds needs no write: the
// store already holds that text, exactly and in its own type.
void PlanWindow::showStored(QLineEdit* box, const QString& key)
{
    const QScopedValueRollback showing(mShowingStoredText, true);
    box->setText(mDocument->text(key));
}

// The dictionary the user chose, while it is installed; else the one for
// the system's language.
void PlanWindow::startSpelling()
{
    const QString chosen = mServices.store.getSetting(PlanKeys::spellingLanguage);
    try {
        mSpelling.setLanguage(
            mSpelling.languages().contains(chosen) ? chosen : mSpelling.defaultLanguage(QLocale::system().name()));
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
}

void PlanWindow::showBoxMenu(QWidget* box, const QContextMenuEvent& request)
{
    std::unique_ptr<QMenu> menu;
    QString text;
    int index = 0;
    SpellingMenuActions actions;
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        menu.reset(line->createStandardContextMenu());
        const QPoint pos = line->mapFromGlobal(request.globalPos());
        text = line->text();
        index = line->cursorPositionAt(pos);
        actions.replace = [line](SpellChecker::Range word, const QString& replacement) {
            line->setSelection(word.start, word.length);
            line->insert(replacement);
        };
    } else {
        auto* section = static_cast<QPlainTextEdit*>(box);
        // A text box's positions are in its viewport.
        const QPoint pos = section->viewport()->mapFromGlobal(request.globalPos());
        menu.reset(section->createStandardContextMenu(pos));
        const QTextCursor at = section->cursorForPosition(pos);
        const QTextBlock block = at.block();
        text = block.text();
        index = at.positionInBlock();
        actions.replace = [section, block](SpellChecker::Range word, const QString& replacement) {
            QTextCursor cursor(section->document());
            cursor.setPosition(block.position() + word.start);
            cursor.setPosition(block.position() + word.start + word.length, QTextCursor::KeepAnchor);
            cursor.insertText(replacement);
        };
    }
    actions.chooseLanguage = [this](const QString& language) { chooseSpellingLanguage(language); };
    actions.tellFailure = [this](const QString& description) {
        untrapped(QStringLiteral("AddToDictionary_Click"), [&] { throw Failure(description); });
    };
    if (box != mCompanyNameBox)
        addSpellingEntries(*menu, mSpelling, text, index, actions);
    // A menu opened from the keyboard starts on its first item, so that the
    // item is spoken and Return chooses it: once the menu shows, it gets the
    // Down key, which moves to the first item that can be chosen without
    // opening a submenu the way choosing the item itself would.
    if (request.reason() == QContextMenuEvent::Keyboard)
        QTimer::singleShot(0, menu.get(), [shown = menu.get()] {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QApplication::sendEvent(shown, &down);
        });
    menu->exec(request.globalPos());
}

void PlanWindow::chooseSpellingLanguage(const QString& language)
{
    try {
        mSpelling.setLanguage(language);
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
        return;
    }
    untrapped(QStringLiteral("SpellingLanguage_Click"),
              [&] { mServices.store.saveSetting(PlanKeys::spellingLanguage, language); });
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

// Filling a box at start-up stores what it shows through the box's change
// handler; a failing write is reported by the load under this step's line.
void PlanWindow::loadStep(ErrorTrap& trap, int line, const std::function<void()>& step)
{
    trap.step(line, [&] {
        std::exception_ptr failure;
        const QScopedValueRollback capture(mChangeFailure, &failure);
        step();
        if (failure)
            std::rethrow_exception(failure);
    });
}

void PlanWindow::companyNameChanged()
{
    if (mShowingStoredText)
        return;
    storeText(PlanKeys::companyName, mCompanyNameBox->text());
}

void PlanWindow::planTitleChanged()
{
    if (mShowingStoredText)
        return;
    storeText(PlanKeys::planTitle, mPlanTitleBox->text());
}

void PlanWindow::firstSectionChanged()
{
    storeSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox);
}

void PlanWindow::secondSectionChanged()
{
    storeSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox);
}

void PlanWindow::storeSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box)
{
    if (mShowingStoredText)
        return;
    const QString key = sections.key(strip->currentTab());
    storeText(key, typedText(*box->document()));
}

// A keystroke's text goes to the document, which stores it at once and
// writes the plan file soon.
void PlanWindow::storeText(const QString& key, const QString& text)
{
    mDocument->setText(key, text);
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

bool PlanWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The company name or plan title box the user moves to has its whole
    // text selected: the next keystroke replaces it. Coming back to the box
    // from a menu, a dialog or another window leaves the caret where it was.
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && !isComingBack(*static_cast<QFocusEvent*>(event)))
            box->selectAll();
    if (event->type() == QEvent::ContextMenu) {
        auto* box = static_cast<QWidget*>(watched);
        if (box == mFirstSectionBox->viewport() || box == mSecondSectionBox->viewport())
            box = box->parentWidget();
        showBoxMenu(box, *static_cast<QContextMenuEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PlanWindow::untrapped(const QString& procedure, const std::function<void()>& handler)
{
    if (mChangeFailure) {
        try {
            handler();
        } catch (...) {
            if (!*mChangeFailure)
                *mChangeFailure = std::current_exception();
        }
        return;
    }
    ErrorTrap trap = trapFor(procedure);
    trap.step(100, handler);
}
