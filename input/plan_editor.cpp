#include "input/plan_editor.h"

#include "desktop/back_colors.h"
#include "desktop/controls.h"
#include "desktop/program_window.h"
#include "desktop/services.h"
#include "input/section_box.h"
#include "input/section_box_accessible.h"
#include "input/spelling.h"
#include "input/tab_strip.h"
#include "plan/plan_document.h"
#include "plan/plan_keys.h"
#include "plan/plan_logo.h"
#include "plan/plan_sections.h"
#include "shell/dialogs.h"
#include "shell/error_trap.h"
#include "shell/failure.h"
#include "shell/line_breaks.h"
#include "shell/settings_store.h"
#include "shell/twips.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include <limits>
#include <memory>

namespace {

// The company name box gives up this much of its width to the logo preview.
constexpr int kPreviewWidth = 40;
constexpr int kPreviewGap = 8;

// A place given in the window's client area, in twips, on the editor.
QRect placeOnEditor(int left, int top, int width, int height)
{
    return twipsRect(left, top - PlanEditor::kTop, width, height);
}

// A section box's text as typed, with CR LF between lines as the store keeps
// it: its plain-text form would turn no-break spaces into plain ones, so the
// raw text is taken and only its line and paragraph breaks are converted.
QString typedText(const QTextDocument& box)
{
    return LineBreaks::toCrLf(box.toRawText());
}

// Focus that goes to, or comes back from, a menu, a dialog or another
// window.
bool isAside(const QFocusEvent& focus)
{
    return focus.reason() == Qt::PopupFocusReason || focus.reason() == Qt::MenuBarFocusReason
           || focus.reason() == Qt::ActiveWindowFocusReason;
}

}  // namespace

PlanEditor::PlanEditor(ProgramWindow& window, PlanDocument& document, SpellChecker& spelling, ShellServices& services)
    : QWidget(&window), mWindow(window), mDocument(document), mSpelling(spelling), mServices(services)
{
    installSectionBoxAccessible();
    createControls();
    connectHandlers();
}

void PlanEditor::createControls()
{
    mCompanyNameFrame = new QGroupBox(QStringLiteral("Company Name"), this);
    mCompanyNameFrame->setGeometry(placeOnEditor(120, 600, 9240, 820));
    mCompanyNameBox = new QLineEdit(mCompanyNameFrame);
    mCompanyNameBox->setGeometry(twipsRect(240, 300, 8760, 375));
    mCompanyNameBox->setMaxLength(std::numeric_limits<int>::max());
    createLogoPreview();

    mPlanTitleFrame = new QGroupBox(QStringLiteral("Business Plan"), this);
    mPlanTitleFrame->setGeometry(placeOnEditor(120, 1540, 9240, 820));
    mPlanTitleBox = new QLineEdit(mPlanTitleFrame);
    mPlanTitleBox->setGeometry(twipsRect(240, 300, 8760, 375));
    mPlanTitleBox->setMaxLength(std::numeric_limits<int>::max());
    for (QGroupBox* frame : {mCompanyNameFrame, mPlanTitleFrame})
        BackColors::paintBackground(*frame, Qt::white);

    mFirstSectionTabs = createSection(firstSectionGroup(), 2505, mFirstSectionPage, mFirstSectionBox);
    mSecondSectionTabs = createSection(secondSectionGroup(), 6240, mSecondSectionPage, mSecondSectionBox);

    for (const auto& [control, name] :
         std::initializer_list<std::pair<QObject*, const char*>>{{mCompanyNameFrame, "companyNameFrame"},
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
    mCompanyNameBox->setFocus();
}

// A tab strip over a page of the plain text box its sections share.
TabStrip* PlanEditor::createSection(const SectionGroup& sections, int top, PictureBox*& page, QPlainTextEdit*& box)
{
    auto* strip = new TabStrip(sections.captions(), twips(500), this);
    strip->setGeometry(placeOnEditor(120, top, 9240, 3615));
    page = new PictureBox(this);
    page->setGeometry(placeOnEditor(135, top + 540, 9150, 3030));
    QPalette colours = page->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Base));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Text));
    page->setPalette(colours);
    page->setAutoFillBackground(true);
    box = new SectionBox(page);
    box->setGeometry(twipsRect(90, 90, 8970, 2805));
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->verticalScrollBar()->setAccessibleName(QStringLiteral("Section text scroll bar"));
    box->horizontalScrollBar()->setAccessibleName(QStringLiteral("Section text scroll bar"));
    box->setTabChangesFocus(true);
    strip->takeTabKeysFrom(box);
    return strip;
}

void PlanEditor::createLogoPreview()
{
    const QRect box = mCompanyNameBox->geometry();
    mLogoPreview = new QLabel(mCompanyNameFrame);
    mLogoPreview->setObjectName(QStringLiteral("logoPreview"));
    mLogoPreview->setGeometry(box.right() + 1 - kPreviewWidth, box.top() - 4, kPreviewWidth, box.height() + 8);
    mLogoPreview->setAlignment(Qt::AlignCenter);
    mLogoPreview->setToolTip(
        QStringLiteral("The company's logo, on the deck's title slide and in every slide's footer"));
    mLogoPreview->hide();
}

// What a screen reader says of each control; a section box's name follows
// its tab. (A tab strip is heard by the section it shows: Qt's tab strips
// answer with their current tab's caption alone.)
void PlanEditor::describeControls()
{
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

void PlanEditor::connectHandlers()
{
    connect(mCompanyNameBox, &QLineEdit::textChanged, this, [this] {
        handle(QStringLiteral("txtCompanyName_Change"), [this] {
            if (!mShowingStoredText)
                mDocument.setText(PlanKeys::companyName, mCompanyNameBox->text());
        });
    });
    connect(mPlanTitleBox, &QLineEdit::textChanged, this, [this] {
        handle(QStringLiteral("txtBusinessPlan_Change"), [this] {
            if (!mShowingStoredText)
                mDocument.setText(PlanKeys::planTitle, mPlanTitleBox->text());
        });
    });
    connect(mFirstSectionBox, &QPlainTextEdit::textChanged, this, [this] {
        handle(QStringLiteral("txtFirstStatement_Change"),
               [this] { storeSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox); });
    });
    connect(mSecondSectionBox, &QPlainTextEdit::textChanged, this, [this] {
        handle(QStringLiteral("txtSecondStatement_Change"),
               [this] { storeSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox); });
    });
    connect(mFirstSectionTabs, &TabStrip::clicked, this, [this] {
        handle(QStringLiteral("SSTab1_Click"),
               [this] { showSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox); });
    });
    connect(mSecondSectionTabs, &TabStrip::clicked, this, [this] {
        handle(QStringLiteral("SSTab3_Click"),
               [this] { showSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox); });
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
    // Shift+F10 opens the menu of the box with the focus, as the menu key
    // does.
    connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        QWidget* box = focusWidget();
        if (!box)
            return;
        const QPoint at = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, at, box->mapToGlobal(at));
        QApplication::sendEvent(box, &menuKey);
    });
}

void PlanEditor::setTabOrderAround(QWidget* control)
{
    setTabOrder(mCompanyNameBox, mPlanTitleBox);
    setTabOrder(mPlanTitleBox, mFirstSectionBox);
    setTabOrder(mFirstSectionBox, mSecondSectionBox);
    setTabOrder(mSecondSectionBox, control);
    setTabOrder(control, mFirstSectionTabs->tabBar());
    setTabOrder(mFirstSectionTabs->tabBar(), mSecondSectionTabs->tabBar());
}

QList<QWidget*> PlanEditor::panels()
{
    return {this, mCompanyNameFrame, mPlanTitleFrame};
}

QString PlanEditor::companyName() const
{
    return mCompanyNameBox->text();
}

QString PlanEditor::planTitle() const
{
    return mPlanTitleBox->text();
}

void PlanEditor::showStoredPlan(ErrorTrap& load)
{
    loadStep(load, 128, [&] { showStored(mCompanyNameBox, PlanKeys::companyName); });
    loadStep(load, 130, [&] { showStored(mPlanTitleBox, PlanKeys::planTitle); });
    showLogo();
    loadStep(load, 132, [&] { showSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox); });
    loadStep(load, 134, [&] { showSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox); });
}

void PlanEditor::showPlan()
{
    showStored(mCompanyNameBox, PlanKeys::companyName);
    showStored(mPlanTitleBox, PlanKeys::planTitle);
    // An empty section shows its guide, which is stored as at a first start.
    showSection(mFirstSectionTabs, firstSectionGroup(), mFirstSectionBox);
    showSection(mSecondSectionTabs, secondSectionGroup(), mSecondSectionBox);
    showLogo();
}

void PlanEditor::showSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box)
{
    const int tab = strip->currentTab();
    box->setAccessibleName(QStringLiteral("%1 section")
                               .arg(strip->tabBar()->tabText(tab).replace(QLatin1String("&&"), QLatin1String("&"))));
    if (tab >= 0 && tab < sections.count()) {
        const QString stored = mDocument.text(sections.key(tab));
        if (stored.isEmpty()) {
            box->setPlainText(LineBreaks::toLf(sections.guideText(tab)));
        } else {
            const QScopedValueRollback showing(mShowingStoredText, true);
            box->setPlainText(LineBreaks::toLf(stored));
        }
    }
    if (box->hasFocus())
        mWindow.say(QStringLiteral("%1: %2").arg(box->accessibleName(), box->document()->firstBlock().text()));
    else if (box->isEnabled() && box->isVisible())
        box->setFocus();
}

// A box that is being filled with what the store holds needs no write: the
// store already holds that text, exactly and in its own type.
void PlanEditor::showStored(QLineEdit* box, const QString& key)
{
    const QScopedValueRollback showing(mShowingStoredText, true);
    box->setText(mDocument.text(key));
}

// A keystroke's text goes to the document, which stores it at once and
// writes the plan file soon.
void PlanEditor::storeSection(TabStrip* strip, const SectionGroup& sections, QPlainTextEdit* box)
{
    if (mShowingStoredText)
        return;
    mDocument.setText(sections.key(strip->currentTab()), typedText(*box->document()));
}

void PlanEditor::startSpelling()
{
    const QString chosen = mServices.store.getSetting(PlanKeys::spellingLanguage);
    try {
        mSpelling.setLanguage(
            mSpelling.languages().contains(chosen) ? chosen : mSpelling.defaultLanguage(QLocale::system().name()));
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
}

void PlanEditor::chooseSpellingLanguage(const QString& language)
{
    try {
        mSpelling.setLanguage(language);
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
        return;
    }
    handle(QStringLiteral("SpellingLanguage_Click"),
           [&] { mServices.store.saveSetting(PlanKeys::spellingLanguage, language); });
}

void PlanEditor::showBoxMenu(QWidget* box, const QContextMenuEvent& request)
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
        handle(QStringLiteral("AddToDictionary_Click"), [&] { throw Failure(description); });
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

void PlanEditor::setLogo(const QString& file)
{
    try {
        mDocument.setText(PlanKeys::logo, PlanLogo::adopt(file, PlanLogo::folder(mServices.dataFolder)));
    } catch (const Failure& failure) {
        mServices.dialogs.message(failure.description());
    }
    showLogo();
}

void PlanEditor::removeLogo()
{
    handle(QStringLiteral("mnuRemoveLogo_Click"), [this] { mDocument.setText(PlanKeys::logo, QString()); });
    showLogo();
}

// The logo, shown small beside the company name, whose box gives up the
// room.
void PlanEditor::showLogo()
{
    const QString logo = PlanLogo::copyOf(mDocument.text(PlanKeys::logo), PlanLogo::folder(mServices.dataFolder));
    QImage preview;
    if (!logo.isEmpty()) {
        QImageReader reader(logo);
        reader.setScaledSize(reader.size().scaled(mLogoPreview->size(), Qt::KeepAspectRatio));
        preview = reader.read();
    }
    mLogoPreview->setPixmap(QPixmap::fromImage(preview));
    mLogoPreview->setVisible(!preview.isNull());
    QRect box = mCompanyNameBox->geometry();
    box.setRight(mLogoPreview->geometry().right() - (preview.isNull() ? 0 : kPreviewWidth + kPreviewGap));
    mCompanyNameBox->setGeometry(box);
    emit logoShown(!logo.isEmpty());
}

// Filling a box at start-up stores what it shows through the box's change
// handler; a failing write is reported by the load under this step's line.
void PlanEditor::loadStep(ErrorTrap& trap, int line, const std::function<void()>& step)
{
    trap.step(line, [&] {
        std::exception_ptr failure;
        const QScopedValueRollback capture(mChangeFailure, &failure);
        step();
        if (failure)
            std::rethrow_exception(failure);
    });
}

void PlanEditor::handle(const QString& procedure, const std::function<void()>& handler)
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
    mWindow.handle(procedure, handler);
}

bool PlanEditor::eventFilter(QObject* watched, QEvent* event)
{
    // The company name or plan title box that gets the focus (the user
    // moved to it, or the window opened on it) has its whole text selected:
    // the next keystroke replaces it. Coming back to the box it left for a
    // menu, a dialog or another window leaves the caret where it was.
    if (event->type() == QEvent::FocusOut)
        mLeftAside = isAside(*static_cast<QFocusEvent*>(event)) ? watched : nullptr;
    if (event->type() == QEvent::FocusIn) {
        const bool comingBack = isAside(*static_cast<QFocusEvent*>(event)) && watched == mLeftAside;
        mLeftAside = nullptr;
        if (auto* box = qobject_cast<QLineEdit*>(watched); box && !comingBack)
            box->selectAll();
    }
    if (event->type() == QEvent::ContextMenu) {
        auto* box = static_cast<QWidget*>(watched);
        if (box == mFirstSectionBox->viewport() || box == mSecondSectionBox->viewport())
            box = box->parentWidget();
        showBoxMenu(box, *static_cast<QContextMenuEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
