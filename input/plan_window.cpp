#include "plan_window.h"

#include "app_icon.h"
#include "back_colors.h"
#include "controls.h"
#include "dialogs.h"
#include "error_trap.h"
#include "error_report.h"
#include "failure.h"
#include "file_utils.h"
#include "hover_pointer.h"
#include "availability_checks.h"
#include "deck_generation.h"
#include "plan_keys.h"
#include "plan_sections.h"
#include "platform.h"
#include "product.h"
#include "section_text.h"
#include "settings_store.h"
#include "startup.h"
#include "tab_strip.h"
#include "twips.h"
#include "unsaved_changes.h"
#include "window_style.h"

#include <QCloseEvent>
#include <QDir>
#include <QScopedValueRollback>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <exception>
#include <limits>

Form1::Form1(ShellServices services, PresentationEngine& engine)
    : ProgramWindow(QStringLiteral("Form1"), services.dialogs),
      mServices(std::move(services)),
      mEngine(engine),
      mPointer(new HoverPointer(*this))
{
    createControls();
    connectHandlers();
}

void Form1::createControls()
{
    setFixedSize(twips(9465), twips(9975));
    setFont(Main::arialBold(9));
    Main::paintBackground(*this, Qt::white);

    PushButton1 = new QPushButton(QStringLiteral("Start Creating Template"), this);
    PushButton1->setGeometry(twipsRect(120, 118, 9240, 405));
    PushButton1->setFont(Main::arialBold(11.25));

    Frame1 = new QGroupBox(QStringLiteral("Company Name"), this);
    Frame1->setGeometry(twipsRect(120, 600, 9240, 820));
    txtCompanyName = new QLineEdit(Frame1);
    txtCompanyName->setGeometry(twipsRect(240, 300, 8760, 375));
    txtCompanyName->setMaxLength(std::numeric_limits<int>::max());

    Frame2 = new QGroupBox(QStringLiteral("Business Plan"), this);
    Frame2->setGeometry(twipsRect(120, 1540, 9240, 820));
    txtBusinessPlan = new QLineEdit(Frame2);
    txtBusinessPlan->setGeometry(twipsRect(240, 300, 8760, 375));
    txtBusinessPlan->setMaxLength(std::numeric_limits<int>::max());
    for (QGroupBox* frame : {Frame1, Frame2})
        Main::paintBackground(*frame, Qt::white);

    const auto makeStrip = [this](const SectionStrip& sections, int top, PictureBox*& picture,
                                  QPlainTextEdit*& box) {
        auto* strip = new TabStrip(sections.captions, twips(500), this);
        strip->setGeometry(twipsRect(120, top, 9240, 3615));
        picture = new PictureBox(this);
        picture->setGeometry(twipsRect(135, top + 540, 9150, 3030));
        QPalette page = picture->palette();
        page.setColor(QPalette::Window, page.color(QPalette::Base));
        page.setColor(QPalette::WindowText, page.color(QPalette::Text));
        picture->setPalette(page);
        picture->setAutoFillBackground(true);
        box = new QPlainTextEdit(picture);
        box->setGeometry(twipsRect(90, 90, 8970, 2805));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);
        return strip;
    };
    SSTab1 = makeStrip(firstStrip(), 2505, Picture1, txtFirstStatement);
    SSTab3 = makeStrip(secondStrip(), 6240, Picture2, txtSecondStatement);

    setTabOrder(txtCompanyName, txtBusinessPlan);
    setTabOrder(txtBusinessPlan, txtFirstStatement);
    setTabOrder(txtFirstStatement, txtSecondStatement);
    setTabOrder(txtSecondStatement, PushButton1);
    setTabOrder(PushButton1, SSTab1->tabBar());
    setTabOrder(SSTab1->tabBar(), SSTab3->tabBar());
    txtCompanyName->setFocus();
}

void Form1::connectHandlers()
{
    connect(txtCompanyName, &QLineEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtCompanyName_Change"), [this] { txtCompanyName_Change(); }); });
    connect(txtBusinessPlan, &QLineEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtBusinessPlan_Change"), [this] { txtBusinessPlan_Change(); }); });
    connect(txtFirstStatement, &QPlainTextEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtFirstStatement_Change"), [this] { txtFirstStatement_Change(); }); });
    connect(txtSecondStatement, &QPlainTextEdit::textChanged, this,
            [this] { untrapped(QStringLiteral("txtSecondStatement_Change"), [this] { txtSecondStatement_Change(); }); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(SSTab1, &TabStrip::clicked, this, [this](int previous) {
        untrapped(QStringLiteral("SSTab1_Click"), [&] { SSTab1_Click(previous); });
    });
    connect(SSTab3, &TabStrip::clicked, this, [this](int previous) {
        untrapped(QStringLiteral("SSTab3_Click"), [&] { SSTab3_Click(previous); });
    });
    txtCompanyName->installEventFilter(this);
    txtBusinessPlan->installEventFilter(this);

    mPointer->watchButton(PushButton1);
    mPointer->watchBackground(this);
    mPointer->watchBackground(Frame1);
    mPointer->watchBackground(Frame2);
}

void Form1::Form_Load()
{
    ErrorTrap trap = trapFor(QStringLiteral("Form_Load"));
    trap.step(100, [&] { Main::applySkin(*this, mServices.skin, mServices.programFolder); });
    trap.step(104, [&] {
        setWindowTitle(Main::productName);
        setWindowIcon(Main::applicationIcon());
        Main::setApplicationTitle();
    });
    mPointer->loadHandCursor(trap, mServices.programFolder);
    trap.step(110, [&] { Main::maybeOpenHomePage(mServices.clock, mServices.random, mServices.urls); });
    tellAboutDamagedStore();
    loadStep(trap, 128, [&] { showStored(txtCompanyName, PlanKeys::companyName); });
    loadStep(trap, 130, [&] { showStored(txtBusinessPlan, PlanKeys::businessPlan); });
    loadStep(trap, 132, [&] { SSTab1_Click(0); });
    loadStep(trap, 134, [&] { SSTab3_Click(0); });
    trap.step(136, [&] { AvailabilityChecks::checkEngineInstalled(mEngine, mServices.dialogs, mServices.programEnd); });
}

void Form1::PushButton1_Click()
{
    ErrorTrap trap = trapFor(QStringLiteral("PushButton1_Click"));
    if (mBusy)
        return;
    trap.step(102, [&] { mBusy = true; });
    bool cancel = false;
    trap.step(104, [&] { cancel = AvailabilityChecks::shouldCancelForRunningEngine(mEngine, mServices.dialogs); });
    if (!cancel) {
        QString path;
        bool taken = true;
        while (taken) {
            // "ps" and eight digits from 1 to 9; the generator takes the time
            // of day in before every digit.
            QString name;
            trap.step(106, [&] { name = QStringLiteral("ps"); });
            for (int i = 0; i < 8; ++i) {
                int digit = 0;
                trap.step(110, [&] { mServices.random.reseed(mServices.clock.secondsSinceMidnight()); });
                trap.step(112, [&] { digit = static_cast<int>(mServices.random.next() * 9) + 1; });
                trap.step(114, [&] { name += QString::number(digit); });
            }
            trap.step(118, [&] { path = Main::tempFolder() + QStringLiteral("/") + name + QStringLiteral(".ppt"); });
            taken = trap.test(120, [&] { return Main::fileExists(path); });
        }
        mDeckInProgress = path;
        trap.step(122, [&] {
            DeckGeneration::generateBusinessPlan(
                path,
                {[this] { return txtCompanyName->text(); }, [this] { return txtBusinessPlan->text(); }, mServices.store},
                {mEngine, mServices.dialogs, mServices.clock, mServices.programFolder});
        });
        if (trap.test(124, [&] { return Main::fileExists(path); })) {
            trap.step(128, [&] { emit deckCreated(path); });
            trap.step(130, [&] { hide(); });
        } else {
            trap.step(132, [&] { mServices.dialogs.message(QStringLiteral("Creation of template fail.")); });
        }
        mDeckInProgress.clear();
    }
    trap.step(136, [&] { mBusy = false; });
}

void Form1::SSTab1_Click(int /*previousTab*/)
{
    showSection(SSTab1, firstStrip(), txtFirstStatement);
}

void Form1::SSTab3_Click(int /*previousTab*/)
{
    showSection(SSTab3, secondStrip(), txtSecondStatement);
}

void Form1::showSection(TabStrip* strip, const SectionStrip& sections, QPlainTextEdit* box)
{
    const int tab = strip->currentTab();
    if (tab >= 0 && tab < sections.count()) {
        const QString stored = mServices.store.getSetting(sections.key(tab));
        if (stored.isEmpty()) {
            box->setPlainText(SectionText::forDisplay(sections.guideText(tab)));
        } else {
            const QScopedValueRollback showing(mShowingStoredText, true);
            box->setPlainText(SectionText::forDisplay(stored));
        }
    }
    if (box->isEnabled() && box->isVisible())
        box->setFocus();
}

// A box that is being filled with what the store holds needs no write: the
// store already holds that text, exactly and in its own type.
void Form1::showStored(QLineEdit* box, const QString& key)
{
    const QScopedValueRollback showing(mShowingStoredText, true);
    box->setText(mServices.store.getSetting(key));
}

void Form1::tellAboutDamagedStore()
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
void Form1::loadStep(ErrorTrap& trap, int line, const std::function<void()>& step)
{
    trap.step(line, [&] {
        std::exception_ptr failure;
        const QScopedValueRollback capture(mChangeFailure, &failure);
        step();
        if (failure)
            std::rethrow_exception(failure);
    });
}

void Form1::txtCompanyName_Change()
{
    if (!mShowingStoredText)
        mServices.store.saveSetting(PlanKeys::companyName, txtCompanyName->text());
}

void Form1::txtBusinessPlan_Change()
{
    if (!mShowingStoredText)
        mServices.store.saveSetting(PlanKeys::businessPlan, txtBusinessPlan->text());
}

void Form1::txtFirstStatement_Change()
{
    storeSection(SSTab1, firstStrip(), txtFirstStatement);
}

void Form1::txtSecondStatement_Change()
{
    storeSection(SSTab3, secondStrip(), txtSecondStatement);
}

void Form1::storeSection(TabStrip* strip, const SectionStrip& sections, QPlainTextEdit* box)
{
    if (mShowingStoredText)
        return;
    const QString key = sections.key(strip->currentTab());
    mServices.store.saveSetting(key, SectionText::forStore(*box->document()));
}

void Form1::Form_Unload()
{
    Main::saveUnsavedBeforeEnding(mServices.store, mServices.dialogs);
    mServices.programEnd.endNow();
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // txtCompanyName_GotFocus, txtBusinessPlan_GotFocus: the next keystroke
    // replaces the whole text.
    if (event->type() == QEvent::FocusIn)
        if (auto* box = qobject_cast<QLineEdit*>(watched))
            box->selectAll();
    return QWidget::eventFilter(watched, event);
}

void Form1::untrapped(const QString& procedure, const std::function<void()>& handler)
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
