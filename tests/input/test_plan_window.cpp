#include "desktop/hover_pointer.h"
#include "input/deck_export_run.h"
#include "input/import_preview_dialog.h"
#include "input/plan_window.h"
#include "input/snapshots_dialog.h"
#include "input/spell_checker.h"
#include "input/tab_strip.h"
#include "plan/plan_document.h"
#include "plan/plan_sections.h"
#include "shell/line_breaks.h"
#include "shell/product.h"
#include "shell/settings_store.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fake_shell.h"
#include "tests/support/file_bytes.h"
#include "tests/support/file_size_limit.h"

#include <QAccessible>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

namespace {

// A plan input window over a store and program folder of its own, with fakes
// for everything else.
struct Window : FakeShell {
    // Spelling is checked with the system's dictionaries and those in
    // dictionaries/ under the folder.
    explicit Window(const QString& folder)
        : FakeShell(folder + "/Kervanel.json", folder),
          spelling(QStringList{folder + "/dictionaries"} + SpellChecker::systemDictionaryFolders(),
                   folder + "/data/personal-words.txt"),
          form(services(), engine, spelling)
    {
    }

    FakeEngine engine;
    SpellChecker spelling;
    PlanWindow form;

    // The window's controls, found by their names.
    QPushButton* createButton() { return form.findChild<QPushButton*>("createDeckButton"); }
    QGroupBox* companyNameFrame() { return form.findChild<QGroupBox*>("companyNameFrame"); }
    QLineEdit* companyNameBox() { return form.findChild<QLineEdit*>("companyNameBox"); }
    QGroupBox* planTitleFrame() { return form.findChild<QGroupBox*>("planTitleFrame"); }
    QLineEdit* planTitleBox() { return form.findChild<QLineEdit*>("planTitleBox"); }
    TabStrip* firstSectionTabs() { return form.findChild<TabStrip*>("firstSectionTabs"); }
    QPlainTextEdit* firstSectionBox() { return form.findChild<QPlainTextEdit*>("firstSectionBox"); }
    TabStrip* secondSectionTabs() { return form.findChild<TabStrip*>("secondSectionTabs"); }
    QPlainTextEdit* secondSectionBox() { return form.findChild<QPlainTextEdit*>("secondSectionBox"); }
};

QStringList storedKeys(const QString& folder)
{
    QFile file(folder + "/Kervanel.json");
    file.open(QIODevice::ReadOnly);
    QStringList keys = QJsonDocument::fromJson(file.readAll()).object().value("Orvendale").toObject().keys();
    keys.sort();
    return keys;
}

QJsonObject storeFileOf(const QString& folder)
{
    QFile file(folder + "/Kervanel.json");
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll()).object();
}

void writeStoreFile(const QString& folder, const QJsonObject& content)
{
    QFile file(folder + "/Kervanel.json");
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(content).toJson());
}

// A value as the store file on disk holds it.
QString stored(const QString& folder, const QString& key)
{
    return storeFileOf(folder).value("Orvendale").toObject().value(key).toString();
}

void typeInto(QWidget* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}

}  // namespace

class PlanWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    QString folder() const { return mFolder->path(); }

private slots:
    void init() { mFolder = std::make_unique<QTemporaryDir>(); }

    void firstStartShowsAndStoresTheGuideTextsOfTheFirstTabsOnly()
    {
        Window w(folder());
        w.form.load();

        QCOMPARE(w.companyNameBox()->text(), QString());
        QCOMPARE(w.planTitleBox()->text(), QString());
        QCOMPARE(w.firstSectionBox()->toPlainText(),
                 QString("The company's long-term mission:\n- How were past goals achieved?\n"
                         "- How will present goals become achieved?"));
        QCOMPARE(stored(folder(), "FirstStatement_0"),
                 QString("The company's long-term mission:\r\n- How were past goals achieved?\r\n"
                         "- How will present goals become achieved?"));
        QCOMPARE(stored(folder(), "SecondStatement_0"), secondSectionGroup().guideText(0));
        QCOMPARE(storedKeys(folder()), QStringList({"FirstStatement_0", "SecondStatement_0"}));
        QVERIFY(w.dialogs.errorReports.isEmpty());
        QCOMPARE(w.form.windowTitle(), QString("Orvendale"));
        QCOMPARE(Product::applicationTitle(), QString("Orvendale"));
    }

    void guideTextsAreTheListedLinesJoinedByCrLf()
    {
        QCOMPARE(firstSectionGroup().count(), 6);
        QCOMPARE(secondSectionGroup().count(), 5);
        QCOMPARE(firstSectionGroup().guideText(4),
                 QString("The key technology, concept, or strategy on which the business is based."));
        const QString keyIssues = secondSectionGroup().guideText(4);
        QCOMPARE(keyIssues.count("\r\n"), 6);
        QVERIFY(keyIssues.contains("\r\nLong term\r\n"));
        QVERIFY(!keyIssues.endsWith("\n"));
        QCOMPARE(secondSectionGroup().captions().at(3), QString("Risk && Rewards"));
        QCOMPARE(secondSectionGroup().key(4), QString("SecondStatement_4"));
    }

    void editingWritesOnlyTheSelectedTabsKeyOnEveryKeystroke()
    {
        Window w(folder());
        w.form.load();
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));

        w.firstSectionTabs()->setCurrentTab(3);
        QCOMPARE(stored(folder(), "FirstStatement_3"), firstSectionGroup().guideText(3));
        QCOMPARE(QApplication::focusWidget(), w.firstSectionBox());
        w.firstSectionBox()->selectAll();
        QTest::keyClicks(w.firstSectionBox(), "ab");
        QCOMPARE(stored(folder(), "FirstStatement_3"), QString("ab"));
        QTest::keyClick(w.firstSectionBox(), Qt::Key_Return);
        QTest::keyClick(w.firstSectionBox(), 'c');
        QCOMPARE(stored(folder(), "FirstStatement_3"), QString("ab\r\nc"));
        QCOMPARE(stored(folder(), "FirstStatement_0"), firstSectionGroup().guideText(0));
        QCOMPARE(stored(folder(), "SecondStatement_0"), secondSectionGroup().guideText(0));

        typeInto(w.companyNameBox(), "Acme");
        QCOMPARE(stored(folder(), "Company Name"), QString("Acme"));
        typeInto(w.planTitleBox(), "Plan 2027");
        QCOMPARE(stored(folder(), "Business Plan"), QString("Plan 2027"));
        QCOMPARE(storedKeys(folder()), QStringList({"Business Plan", "Company Name", "FirstStatement_0",
                                                    "FirstStatement_3", "SecondStatement_0"}));
    }

    // Without a mouse: Control+Page Down/Up and Control+(Shift+)Tab move
    // through a strip's sections from its box, round the ends; a screen
    // reader hears which section a box holds.
    // The controls a screen reader names by what the program calls them,
    // found without one: those a user reaches and bars.
    static QStringList unnamedControls(const QWidget& top)
    {
        QStringList unnamed;
        for (QWidget* inside : top.findChildren<QWidget*>()) {
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(inside);
            const bool reached = inside->focusPolicy() != Qt::NoFocus || control->role() == QAccessible::ScrollBar
                                 || control->role() == QAccessible::MenuBar;
            if (reached && control->text(QAccessible::Name).isEmpty())
                unnamed << QString("%1 %2").arg(inside->metaObject()->className(), inside->objectName());
        }
        return unnamed;
    }

    // A screen reader speaks what lies in the active window: the window is a
    // window, and the panels the boxes lie on are panels, not windows of
    // their own. Every control it reaches has a name, the snapshots'
    // included.
    void theWindowIsAWindowAndItsPanelsArePanels()
    {
        Window w(folder());
        w.form.load();
        QCOMPARE(unnamedControls(w.form), QStringList());
        QCOMPARE(unnamedControls(SnapshotsDialog(w.form.document(), w.dialogs)), QStringList());
        QCOMPARE(QAccessible::queryAccessibleInterface(&w.form)->role(), QAccessible::Window);
        int panels = 0;
        for (QWidget* inside : w.form.findChildren<QWidget*>()) {
            const QAccessible::Role role = QAccessible::queryAccessibleInterface(inside)->role();
            QVERIFY2(role != QAccessible::Window && role != QAccessible::Border,
                     qPrintable(inside->metaObject()->className() + QString(" ") + inside->objectName()));
            panels += role == QAccessible::Pane;
        }
        QVERIFY(panels >= 2);
    }

    void sectionsAreSwitchedWithTheKeyboardAndNamed()
    {
        Window w(folder());
        w.form.load();
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QCOMPARE(w.companyNameBox()->accessibleName(), QString("Company name"));
        QCOMPARE(w.firstSectionBox()->accessibleName(), QString("Mission Statement section"));
        QPlainTextEdit* box = w.firstSectionBox();
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        box->setFocus();
        const auto press = [&](QWidget* at, Qt::Key key, Qt::KeyboardModifiers modifiers) {
            QTest::keyClick(at, key, modifiers);
            return w.firstSectionTabs()->currentTab() * 10 + w.secondSectionTabs()->currentTab();
        };
        // The section a box moves to is said with its first line, as the
        // box keeps the focus; one reached from its strip is spoken as the
        // box takes the focus.
        QCOMPARE(w.form.lastSaid(), QString());
        QCOMPARE(press(box, Qt::Key_PageDown, Qt::ControlModifier), 10);
        QCOMPARE(box->accessibleName(), QString("The Team section"));
        QCOMPARE(w.form.lastSaid(), "The Team section: " + firstSectionGroup().guideText(1).section("\r\n", 0, 0));
        QCOMPARE(press(box, Qt::Key_Tab, Qt::ControlModifier), 20);
        QCOMPARE(press(box, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier), 10);
        QCOMPARE(press(box, Qt::Key_PageUp, Qt::ControlModifier), 0);
        QCOMPARE(press(box, Qt::Key_PageUp, Qt::ControlModifier), 50);
        QCOMPARE(press(w.secondSectionBox(), Qt::Key_PageUp, Qt::ControlModifier), 54);
        QCOMPARE(w.secondSectionBox()->accessibleName(), QString("Key Issues section"));
        w.secondSectionTabs()->tabBar()->setFocus();
        const QString said = w.form.lastSaid();
        QCOMPARE(press(w.secondSectionTabs()->tabBar(), Qt::Key_PageDown, Qt::ControlModifier), 50);
        QCOMPARE(w.form.lastSaid(), said);
        QVERIFY(w.secondSectionBox()->hasFocus());
        QCOMPARE(box->toPlainText(), LineBreaks::toLf(firstSectionGroup().guideText(5)));
        // Shift+F10 opens the menu of the box with the focus, on its first
        // item that can be chosen; one opened with the mouse starts on none.
        const auto openMenu = [&](QWidget* at, const std::function<void()>& ask) {
            at->setFocus();
            QString opened;
            QTimer::singleShot(0, [&] {
                QTimer::singleShot(0, [&] {
                    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                        for (QAction* action : menu->actions())
                            opened += (action == menu->activeAction() ? ">" : "") + action->text() + "|";
                        menu->close();
                    }
                });
            });
            ask();
            return opened;
        };
        const auto shiftF10 = [&] {
            for (QShortcut* shortcut : w.form.findChildren<QShortcut*>())
                if (shortcut->key() == QKeySequence("Shift+F10"))
                    emit shortcut->activated();
        };
        const QString sectionMenu = openMenu(box, shiftF10);
        QVERIFY2(sectionMenu.startsWith("|>Spelling Language|") && sectionMenu.count('>') == 1,
                 qPrintable(sectionMenu));
        typeInto(w.companyNameBox(), "Acme");
        const QString nameMenu = openMenu(w.companyNameBox(), shiftF10);
        QVERIFY2(nameMenu.startsWith(">&Undo|") && !nameMenu.contains("Spelling"), qPrintable(nameMenu));
        const QString clickedMenu = openMenu(box, [&] {
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                         box->viewport()->mapToGlobal(QPoint(5, 5)));
            QApplication::sendEvent(box->viewport(), &rightClick);
        });
        QVERIFY2(clickedMenu.contains("|Spelling Language|") && !clickedMenu.contains('>'), qPrintable(clickedMenu));
        // A strip that has the focus shows it, whichever way it came.
        QTabBar* strip = w.firstSectionTabs()->tabBar();
        const QImage unfocused = strip->grab().toImage();
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        strip->setFocus(Qt::MouseFocusReason);
        QVERIFY(strip->hasFocus());
        QVERIFY(strip->grab().toImage() != unfocused);
    }

    void clearedSectionShowsAndStoresTheGuideAgainButBlanksStay()
    {
        Window w(folder());
        w.store.saveSetting("SecondStatement_2", " ");
        w.form.load();

        w.firstSectionBox()->clear();
        QCOMPARE(stored(folder(), "FirstStatement_0"), QString(""));
        w.firstSectionTabs()->setCurrentTab(1);
        w.firstSectionTabs()->setCurrentTab(0);
        QCOMPARE(w.firstSectionBox()->toPlainText(), QString(firstSectionGroup().guideText(0)).replace("\r\n", "\n"));
        QCOMPARE(stored(folder(), "FirstStatement_0"), firstSectionGroup().guideText(0));

        w.secondSectionTabs()->setCurrentTab(2);
        QCOMPARE(w.secondSectionBox()->toPlainText(), QString(" "));
        QCOMPARE(stored(folder(), "SecondStatement_2"), QString(" "));
    }

    // Rows of tab-separated cells pasted into a section get a "Table:"
    // line above them, on a line of its own and apart from the text after
    // them, with the cursor waiting for the title; other text pastes as it
    // is. "|" marks the cursor.
    void pastedRowsOfCellsGetATableLine_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        // clang-format off
        QTest::newRow("two rows into an empty section") << "|" << "Who\tPrice\nAcme\t12\n" << "Table: |\nWho\tPrice\nAcme\t12\n";
        QTest::newRow("line ends from another system, empty cells") << "|" << "a\t\tc\r\n\t\t\r\n" << "Table: |\na\t\tc\n\t\t\n";
        QTest::newRow("at a line's end: a line of its own, apart from what follows") << "Intro|\nMore" << "a\tb\nc\td" << "Intro\nTable: |\na\tb\nc\td\n\nMore";
        QTest::newRow("at a line's start") << "Intro\n|More" << "a\tb\nc\td" << "Intro\nTable: |\na\tb\nc\td\n\nMore";
        QTest::newRow("one row is no table") << "x|" << "a\tb\n" << "xa\tb\n|";
        QTest::newRow("a line without a tab is no table") << "|" << "a\tb\nc d" << "a\tb\nc d|";
        // clang-format on
    }

    void pastedRowsOfCellsGetATableLine()
    {
        QFETCH(QString, before);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        Window w(folder());
        w.form.load();
        QPlainTextEdit* box = w.firstSectionBox();
        box->setPlainText(QString(before).remove('|'));
        QTextCursor cursor = box->textCursor();
        cursor.setPosition(static_cast<int>(before.indexOf('|')));
        box->setTextCursor(cursor);
        QApplication::clipboard()->setText(pasted);
        box->paste();
        QString shown = box->toPlainText();
        shown.insert(box->textCursor().position(), '|');
        QCOMPARE(shown, after);
        QCOMPARE(stored(folder(), "FirstStatement_0"), QString(after).remove('|').replace("\n", "\r\n"));
    }

    void restartShowsWhatWasTyped()
    {
        {
            Window w(folder());
            w.form.load();
            w.companyNameBox()->setText("  Nordlicht AG ");
            w.planTitleBox()->setText("Wachstum 2027 – 2031");
            w.firstSectionBox()->setPlainText("Line one\n\nLine three\n");
        }
        Window again(folder());
        again.form.load();
        QCOMPARE(again.companyNameBox()->text(), QString("  Nordlicht AG "));
        QCOMPARE(again.planTitleBox()->text(), QString("Wachstum 2027 – 2031"));
        QCOMPARE(again.firstSectionBox()->toPlainText(), QString("Line one\n\nLine three\n"));
        QCOMPARE(stored(folder(), "FirstStatement_0"), QString("Line one\r\n\r\nLine three\r\n"));
    }

    void failingLoadStepsAreReportedWithTheirLinesAndLoadingGoesOn()
    {
        QFile cursor(folder() + "/HAND-M.CUR");
        QVERIFY(cursor.open(QIODevice::WriteOnly));
        cursor.write("this is no cursor");
        cursor.close();
        QDir(folder()).mkpath("x");
        QFile skinFile(folder() + "/x/o.cjs");
        QVERIFY(skinFile.open(QIODevice::WriteOnly));
        skinFile.close();

        Window w(folder());
        w.store.saveSetting("Company Name", "Still loaded");
        w.skin.failOnLoad = true;
        w.form.load();

        QCOMPARE(w.dialogs.errorReports.size(), 2);
        QVERIFY(w.dialogs.errorReports[0].startsWith(
            "skin broken\r\nin Quenlith2021/08/31.Form1.Form_Load at line 100\r\r"));
        QVERIFY(w.dialogs.errorReports[1].contains("in Quenlith2021/08/31.Form1.Form_Load at line 108\r\r"));
        QVERIFY(w.dialogs.errorReports[1].contains("HAND-M.CUR"));
        QCOMPARE(w.skin.calls.size(), 1);
        QVERIFY(!w.form.pointer().hasCustomImage());
        QCOMPARE(w.form.windowTitle(), QString("Orvendale"));
        QCOMPARE(w.companyNameBox()->text(), QString("Still loaded"));
        QCOMPARE(w.firstSectionBox()->toPlainText().left(8), QString("The comp"));
    }

    void whatTheStoreHoldsIsShownAndNotRewritten()
    {
        const QString nbsp(QChar(0x00a0));
        const QString longName = QString(40000, 'n') + nbsp + "AS";
        const QString section = "lone\nfeed\rreturn" + QString(QChar(0x2028)) + "sep" + nbsp + "end";
        const QJsonObject before{{"Orvendale", QJsonObject{{"Company Name", longName},
                                                           {"Business Plan", 12345},
                                                           {"FirstStatement_0", section},
                                                           {"SecondStatement_0", true},
                                                           {"Unknown", QJsonArray{1, "two"}}}},
                                 {"Elsewhere", QJsonObject{{"k", QJsonValue::Null}}}};
        writeStoreFile(folder(), before);

        Window w(folder());
        w.form.load();
        QCOMPARE(w.companyNameBox()->text(), longName);
        QCOMPARE(w.planTitleBox()->text(), QString("12345"));
        QCOMPARE(w.secondSectionBox()->toPlainText(), QString("true"));
        QCOMPARE(storeFileOf(folder()), before);

        // Typing stores the text as typed, no-break spaces included.
        QTest::keyClicks(w.companyNameBox(), nbsp + "x");
        QCOMPARE(stored(folder(), "Company Name"), longName + nbsp + "x");
        w.firstSectionBox()->moveCursor(QTextCursor::End);
        QTest::keyClicks(w.firstSectionBox(), nbsp + "!");
        QCOMPARE(stored(folder(), "FirstStatement_0"), "lone\r\nfeed\r\nreturn\r\nsep" + nbsp + "end" + nbsp + "!");
        QVERIFY(w.dialogs.errorReports.isEmpty());
    }

    void aDamagedStoreIsReportedOnceWithWhereItWasKept()
    {
        QFile file(folder() + "/Kervanel.json");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"Orvendale\": {\"Company Name\": \"Kept\", \"Business Plan\": \"cu");
        file.close();
        {
            Window w(folder());
            w.form.load();
            QCOMPARE(w.companyNameBox()->text(), QString("Kept"));
            QCOMPARE(w.dialogs.messages.size(), 1);
            QVERIFY(w.dialogs.messages.first().contains(w.store.damagedFileKeptAt()));
        }
        Window again(folder());
        again.form.load();
        QVERIFY(again.dialogs.messages.isEmpty());
    }

    void eachBoxReportsItsOwnWriteFailureOncePerRunAndLosesNothing()
    {
        Window w(folder());
        w.form.load();
        const QList<std::pair<QWidget*, QString>> boxes = {
            {w.companyNameBox(), "Company Name"},
            {w.planTitleBox(), "Business Plan"},
            {w.firstSectionBox(), "FirstStatement_0"},
            {w.secondSectionBox(), "SecondStatement_0"},
        };
        for (const auto& [box, key] : boxes) {
            if (auto* section = qobject_cast<QPlainTextEdit*>(box))
                section->clear();
            {
                const FileSizeLimit full(QFileInfo(folder() + "/Kervanel.json").size());
                typeInto(box, "ab");
            }
            typeInto(box, "c");
            QCOMPARE(stored(folder(), key), QString("abc"));
        }
        QCOMPARE(w.dialogs.errorReports.size(), 4);
        const QStringList handlers = {"txtCompanyName_Change", "txtBusinessPlan_Change", "txtFirstStatement_Change",
                                      "txtSecondStatement_Change"};
        for (int i = 0; i < 4; ++i)
            QVERIFY2(
                w.dialogs.errorReports[i].contains("in Quenlith2021/08/31.Form1." + handlers[i] + " at line 100\r\r"),
                qPrintable(w.dialogs.errorReports[i]));
    }

    void aWriteFailingAtStartUpIsReportedByTheLoadStep()
    {
        Window w(folder());
        {
            const FileSizeLimit full(10);
            w.form.load();
        }
        QCOMPARE(w.dialogs.errorReports.size(), 1);
        QVERIFY2(w.dialogs.errorReports[0].contains("in Quenlith2021/08/31.Form1.Form_Load at line 132\r\r"),
                 qPrintable(w.dialogs.errorReports[0]));
        // Both guide texts reach the store with the next write that works.
        typeInto(w.companyNameBox(), "A");
        QCOMPARE(stored(folder(), "FirstStatement_0"), firstSectionGroup().guideText(0));
        QCOMPARE(stored(folder(), "SecondStatement_0"), secondSectionGroup().guideText(0));
    }

    // A home page that cannot be opened is reported under its line, and the
    // start goes on.
    void homePageOpensOnDrawSeven()
    {
        Window w(folder());
        w.random.draws = {0.061};
        w.form.load();
        QCOMPARE(w.urls.opened, QStringList({Product::homePageUrl}));

        Window failing(folder());
        failing.random.draws = {0.061};
        failing.urls.fails = true;
        failing.form.load();
        QCOMPARE(failing.dialogs.reportedLines(), QList<int>({110}));
        QVERIFY(failing.dialogs.errorReports.first().contains("Form1.Form_Load at line 110"));
        QCOMPARE(failing.companyNameBox()->text(), w.companyNameBox()->text());
    }

    void pointerIsTheHandOverTheButtonAndDefaultOverFrames()
    {
        Window w(folder());
        w.form.load();
        const auto move = [](QWidget* widget, QPoint at) {
            QMouseEvent event(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(widget, &event);
        };
        move(w.createButton(), QPoint(5, 5));
        QCOMPARE(w.form.pointer().mousePointer(), 99);
        move(w.companyNameBox(), QPoint(5, 5));
        QCOMPARE(w.form.pointer().mousePointer(), 99);
        move(w.companyNameFrame(), QPoint(2, w.companyNameFrame()->height() - 2));
        QCOMPARE(w.form.pointer().mousePointer(), 0);
        w.form.pointer().setMousePointer(11);
        move(w.createButton(), QPoint(5, 5));
        QCOMPARE(w.form.pointer().mousePointer(), 11);
    }

    void singleLineBoxesSelectAllOnFocus()
    {
        Window w(folder());
        w.store.saveSetting("Business Plan", "Old title");
        w.form.load();
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.companyNameBox()->setFocus();
        QTest::keyClick(w.companyNameBox(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.planTitleBox());
        QCOMPARE(w.planTitleBox()->selectedText(), QString("Old title"));
        QTest::keyClicks(w.planTitleBox(), "New");
        QCOMPARE(stored(folder(), "Business Plan"), QString("New"));
    }

    // Looking into the menus and leaving them with Escape gives the keyboard
    // back to the box it came from, with the caret where it was: the next
    // keystroke adds to the text instead of replacing it. A second menu
    // opened from the menu bar does not make the bar the place to return to.
    void theKeyboardComesBackFromTheMenusToTheBoxAsItLeftIt()
    {
        Window w(folder());
        w.store.saveSetting("Company Name", "Fjordlight");
        w.form.load();
        w.form.show();
        w.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.form));
        // The window opens on the company name, selected whole.
        QCOMPARE(QApplication::focusWidget(), w.companyNameBox());
        QCOMPARE(w.companyNameBox()->selectedText(), QString("Fjordlight"));
        QTest::keyClick(w.companyNameBox(), Qt::Key_End);
        const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QWidget* popup = QApplication::activePopupWidget();
            QTest::keyClick(popup ? popup : QApplication::focusWidget(), key, modifiers);
        };
        const auto pressAll = [&](const QList<QKeyCombination>& keys) {
            for (QKeyCombination key : keys)
                press(key.key(), key.keyboardModifiers());
            press(Qt::Key_S);
            return w.companyNameBox()->text();
        };
        QCOMPARE(pressAll({Qt::ALT | Qt::Key_P, Qt::Key_Escape, Qt::Key_Escape}), QString("Fjordlights"));
        QCOMPARE(pressAll({Qt::ALT | Qt::Key_P, Qt::Key_Escape, Qt::ALT | Qt::Key_E, Qt::Key_Escape, Qt::Key_Escape}),
                 QString("Fjordlightss"));
        QCOMPARE(pressAll({Qt::Key_F10, Qt::Key_Escape, Qt::Key_Escape}), QString("Fjordlightsss"));
        QCOMPARE(stored(folder(), "Company Name"), QString("Fjordlightsss"));
    }

    // The user decides what becomes of a plan file another window has open
    // (a copy of it opens), another program changed (reloaded, or theirs
    // kept as a new file), or that can no longer be written (told once;
    // the plan is kept in the store).
    void whatBecomesOfAPlanFileOthersHoldIsAsked()
    {
        Window w(folder());
        w.form.load();
        QDir().mkpath(folder() + "/other");
        Window other(folder() + "/other");
        other.form.load();
        const QString file = folder() + "/alpha.orvendale";
        PlanFile::write(file, {{"Company Name", "Alpha"}});
        other.form.openPlanFile(file);
        w.dialogs.answers = {true};
        w.form.openPlanFile(file);
        QVERIFY(w.dialogs.questions.last().contains("is open in another Orvendale window"));
        QCOMPARE(w.companyNameBox()->text(), QString("Alpha"));
        QCOMPARE(w.form.document().file(), QString());

        const QLabel* status = other.form.findChild<QLabel*>("statusLine");
        const auto changeElsewhereAndType = [&](const QString& theirs, bool reload) {
            PlanFile::write(file, {{"Company Name", theirs}});
            other.dialogs.answers = {reload};
            const qsizetype asked = other.dialogs.questions.size();
            typeInto(other.companyNameBox(), " and mine");
            QTRY_COMPARE(other.dialogs.questions.size(), asked + 1);
            QVERIFY(other.dialogs.questions.last().contains("was changed by another program"));
        };
        changeElsewhereAndType("Synced", true);
        QCOMPARE(other.companyNameBox()->text(), QString("Synced"));
        other.dialogs.saveFileName = folder() + "/mine";
        changeElsewhereAndType("Synced twice", false);
        QCOMPARE(other.companyNameBox()->text(), QString("Synced and mine"));
        QCOMPARE(PlanFile::read(file).value("Company Name"), QString("Synced twice"));
        QCOMPARE(PlanFile::read(folder() + "/mine.orvendale").value("Company Name"), QString("Synced and mine"));
        QVERIFY(status->text().startsWith("Plan file " + folder() + "/mine.orvendale"));

        QDir().mkpath(folder() + "/stick");
        other.dialogs.saveFileName = folder() + "/stick/plan";
        other.form.savePlanAs();
        QVERIFY(QDir(folder() + "/stick").removeRecursively());
        const qsizetype told = other.dialogs.messages.size();
        typeInto(other.companyNameBox(), "!");
        QTRY_COMPARE(other.dialogs.messages.size(), told + 1);
        typeInto(other.companyNameBox(), "!");
        QTest::qWait(PlanDocument::kFileDelayMs + 200);
        QCOMPARE(other.dialogs.messages.size(), told + 1);
        QVERIFY(other.dialogs.messages.last().contains("kept in Orvendale's store meanwhile"));
        QVERIFY(status->text().startsWith("The plan is kept in Orvendale's store: plan file"));
    }

    // Saved as a plan file, the plan follows there as it is typed; a file
    // that is no plan is told and changes nothing; opening one, dropping
    // one or a new plan replaces what the boxes show.
    void planFilesAreSavedFollowedAndOpened()
    {
        Window w(folder());
        w.form.load();
        const QString file = folder() + "/fjordlight.orvendale";
        w.dialogs.saveFileName = folder() + "/fjordlight";
        w.form.savePlanAs();
        QCOMPARE(w.form.document().file(), file);
        QCOMPARE(w.dialogs.saveDialogs, QStringList({"Save Plan As|Orvendale plans (*.orvendale)"}));
        typeInto(w.companyNameBox(), "Fjordlight AS");
        QTRY_COMPARE_WITH_TIMEOUT(PlanFile::read(file).value("Company Name"), QString("Fjordlight AS"), 1000);
        QVERIFY(w.form.findChild<QLabel*>("statusLine")->text().startsWith("Plan file " + file));

        QFile broken(folder() + "/broken.orvendale");
        QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("not a plan") > 0);
        broken.close();
        w.dialogs.openFileName = broken.fileName();
        w.form.openPlan();
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY(w.dialogs.messages.first().contains(broken.fileName()));
        QCOMPARE(w.companyNameBox()->text(), QString("Fjordlight AS"));

        PlanFile::Texts sent = PlanFile::read(file);
        sent["Company Name"] = "Sent AS";
        sent["FirstStatement_0"] = "Sent mission\r\nSecond line";
        sent["SecondStatement_0"] = "";
        PlanFile::write(folder() + "/sent.orvendale", sent);
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(folder() + "/sent.orvendale")});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &drop);
        QCOMPARE(w.companyNameBox()->text(), QString("Sent AS"));
        QCOMPARE(w.firstSectionBox()->toPlainText(), QString("Sent mission\nSecond line"));
        QCOMPARE(w.form.document().file(), folder() + "/sent.orvendale");
        QCOMPARE(w.form.document().recentFiles().size(), 2);
        // Its empty sections show their guides, and the file stays as sent.
        const QByteArray sentBytes = readFile(folder() + "/sent.orvendale");
        QTest::qWait(PlanDocument::kFileDelayMs + 200);
        QCOMPARE(readFile(folder() + "/sent.orvendale"), sentBytes);

        w.form.newPlan();
        QVERIFY(w.companyNameBox()->text().isEmpty());
        QVERIFY(w.firstSectionBox()->toPlainText().startsWith("The company's long-term mission:"));
        QVERIFY(w.form.document().file().isEmpty());
        QCOMPARE(PlanFile::read(folder() + "/sent.orvendale"), sent);
        QVERIFY(w.dialogs.errorReports.isEmpty());
    }

    // A logo chosen through the dialog shows beside the company name and
    // outlives its original; a file that is no picture is told and changes
    // nothing; one dropped replaces it; Remove Logo and a new plan take it
    // off.
    void theLogoIsChosenDroppedAndRemoved()
    {
        Window w(folder());
        w.form.load();
        const auto logo = [&](const QString& name, const QColor& colour) {
            QImage image(90, 30, QImage::Format_RGB32);
            image.fill(colour);
            image.save(folder() + "/" + name);
            return folder() + "/" + name;
        };
        auto* preview = w.form.findChild<QLabel*>("logoPreview");
        const int fullWidth = w.companyNameBox()->width();
        w.dialogs.openFileName = logo("red.png", Qt::red);
        w.form.chooseLogo();
        QCOMPARE(w.dialogs.openDialogs, QStringList({"Choose the Company's Logo|Pictures (*.png *.jpg *.jpeg *.svg)"}));
        const QString kept = stored(folder(), "Logo");
        const QString copy = folder() + "/data/logos/" + kept;
        QFile::remove(folder() + "/red.png");
        QVERIFY(QFile::exists(copy));
        QVERIFY(preview->isVisibleTo(&w.form));
        QCOMPARE(preview->pixmap().size(), QSize(40, 13));
        QCOMPARE(w.companyNameBox()->width(), fullWidth - 40 - 8);

        writeFile(folder() + "/notes.png", "not a picture");
        w.dialogs.openFileName = folder() + "/notes.png";
        w.form.chooseLogo();
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY(w.dialogs.messages.first().contains(folder() + "/notes.png"));
        QCOMPARE(stored(folder(), "Logo"), kept);

        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(logo("blue.jpg", Qt::blue))});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &drop);
        QVERIFY2(stored(folder(), "Logo").endsWith(".jpg"), qPrintable(w.dialogs.messages.join("|")));

        w.form.removeLogo();
        QCOMPARE(stored(folder(), "Logo"), QString());
        QVERIFY(!preview->isVisibleTo(&w.form));
        QCOMPARE(w.companyNameBox()->width(), fullWidth);
        w.form.setLogo(copy);
        w.form.newPlan();
        QVERIFY(!preview->isVisibleTo(&w.form));
    }

    // A design chosen from the menu is the plan's: stored, written to its
    // plan file, shown checked; a new plan has the first again.
    void theDesignChosenIsThePlans()
    {
        Window w(folder());
        w.form.load();
        QMenu* deck = w.form.findChild<QMenuBar*>("menuBar")->actions().at(2)->menu();
        QMenu* designs = nullptr;
        for (QAction* action : deck->actions())
            if (action->text() == "D&esign")
                designs = action->menu();
        QVERIFY(designs);
        const auto checked = [&] {
            emit designs->aboutToShow();
            QStringList names;
            for (QAction* choice : designs->actions())
                if (choice->isChecked())
                    names << choice->text();
            return names;
        };
        QCOMPARE(checked(), QStringList({"&Harbour"}));
        designs->actions().at(1)->trigger();
        QCOMPARE(stored(folder(), "Design"), QString("daylight"));
        w.dialogs.saveFileName = folder() + "/daylight";
        w.form.savePlanAs();
        QCOMPARE(PlanFile::read(folder() + "/daylight.orvendale").value("Design"), QString("daylight"));
        QCOMPARE(checked(), QStringList({"&Daylight"}));
        w.form.newPlan();
        QCOMPARE(checked(), QStringList({"&Harbour"}));
    }

    // Through the snapshots dialog: a named snapshot taken, the one kept
    // before a new plan restored into the boxes, one deleted.
    void aSnapshotIsRestoredThroughTheDialog()
    {
        Window w(folder());
        w.form.load();
        typeInto(w.companyNameBox(), "Fjordlight AS");
        w.form.newPlan();
        QVERIFY(w.companyNameBox()->text().isEmpty());
        SnapshotsDialog dialog(w.form.document(), w.dialogs);
        auto* list = dialog.findChild<QListWidget*>("snapshotList");
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->currentRow(), 0);
        dialog.findChild<QLineEdit*>()->setText("Empty plan");
        dialog.takeNamed();
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(0)->text().contains("Empty plan"));
        QVERIFY(list->item(1)->text().contains("Before a new plan · Fjordlight AS"));
        list->setCurrentRow(1);
        dialog.restoreSelected();
        QCOMPARE(w.companyNameBox()->text(), QString("Fjordlight AS"));
        QCOMPARE(stored(folder(), "Company Name"), QString("Fjordlight AS"));
        QCOMPARE(list->count(), 3);
        list->setCurrentRow(0);
        dialog.deleteSelected();
        QCOMPARE(list->count(), 2);
        QVERIFY(w.dialogs.messages.isEmpty() && w.dialogs.errorReports.isEmpty());
    }

    // Export Deck runs the program's own export in the background, on this
    // window's plan (whatever another copy stored since): the name gets the
    // chosen type's ending, a failure is told in its words, and Cancel
    // interrupts it without a word.
    void exportDeckRunsTheCommandLineExportInTheBackground()
    {
        Window w(folder());
        w.form.load();
        w.companyNameBox()->setText("This window's company");
        w.store.saveSetting("Company Name", "Another copy's company");
        const auto exportWith = [&](const QByteArray& script) {
            QFile program(folder() + "/orvendale");
            QVERIFY(program.open(QIODevice::WriteOnly));
            program.write(
                "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/arguments\"\n"
                "cat > \"$(dirname \"$0\")/plan\"\n"
                + script);
            program.close();
            program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            w.dialogs.saveFileName = folder() + "/deck";
            w.dialogs.saveFilter = "OpenDocument Presentation (*.odp)";
            w.form.exportDeckFile();
        };
        exportWith("echo 'orvendale: the engine failed.' >&2\nexit 2\n");
        QTRY_COMPARE(w.dialogs.messages, QStringList({"The deck could not be made: the engine failed."}));
        QFile arguments(folder() + "/arguments");
        QVERIFY(arguments.open(QIODevice::ReadOnly));
        QCOMPARE(arguments.readAll().trimmed(), ("--export " + folder() + "/deck.odp -").toUtf8());
        QCOMPARE(PlanFile::read(folder() + "/plan").value("Company Name"), QString("This window's company"));
        // A deck made with notes about the plan shows them under its name.
        exportWith("echo 'orvendale: A chart note.' >&2\necho 'orvendale: Another.' >&2\nexit 0\n");
        QTRY_COMPARE(w.dialogs.messages.size(), 2);
        QCOMPARE(w.dialogs.messages.last(),
                 "The deck is saved as " + folder() + "/deck.odp.\n\nA chart note.\nAnother.");

        exportWith("exec sleep 30\n");
        QProgressDialog* progress = nullptr;
        QTRY_VERIFY((progress = w.form.findChild<QProgressDialog*>("exportProgress")));
        QElapsedTimer timer;
        timer.start();
        progress->findChild<QPushButton*>()->click();
        QTRY_VERIFY(!w.form.findChild<QProgressDialog*>("exportProgress"));
        QVERIFY(timer.elapsed() < 2000);
        QCOMPARE(w.dialogs.messages.size(), 2);
    }

    // A program that ends without unwinding (or is killed) takes its export
    // with it: the export is ended as by a logout. Here the thread that
    // started the export ends, as the program would, without letting go of
    // the export.
    void anExportEndsWithTheProgramThatStartedIt()
    {
        const QString ended = folder() + "/ended";
        QFile program(folder() + "/orvendale");
        QVERIFY(program.open(QIODevice::WriteOnly));
        program.write(
            QString(
                "#!/bin/sh\ntrap 'kill $!; wait; echo TERM > %1; exit 143' TERM\ncat > /dev/null\nsleep 30 &\nwait\n")
                .arg(ended)
                .toUtf8());
        program.close();
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        DeckExportRun* run = nullptr;
        QThread* starter = QThread::create([&] {
            run = new DeckExportRun(program.fileName(), {"--export"});
            run->start(folder() + "/deck.pdf", "a plan");
            QTest::qWait(200);
        });
        starter->start();
        QVERIFY(starter->wait(10000));
        delete starter;
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ended), 5000);
        delete run;
    }

    // The menu bar's commands, with their mnemonics; the edit commands act
    // on the box with the focus.
    // A document is read by the engine (which is quit then), shown as what
    // it becomes, and made the plan only by Import: parts placed by the
    // user, the names as edited, the plan before it kept as a snapshot.
    // Cancel, a locked document and one that is not a document change
    // nothing.
    void aDocumentBecomesThePlanOnlyAfterItsPreview()
    {
        Window w(folder());
        w.form.load();
        typeInto(w.companyNameBox(), "Typed AS");
        const QString body =
            "<text:p text:style-name=\"Title\">Plan 2027</text:p><text:p>Fjordlight AS</text:p>"
            "<text:h text:outline-level=\"1\">Management Team</text:h><text:p>Ada leads.</text:p>"
            "<text:h text:outline-level=\"1\">Appendix</text:h><text:p>Hire two growers.</text:p>";
        w.engine.state.documents["plan.docx"] =
            ("<office:document xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
             "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:text>"
             + body + "</office:text></office:body></office:document>")
                .toUtf8();
        w.engine.state.documents["locked.docx"] = "password";
        for (const char* name : {"plan.docx", "locked.docx", "damaged.docx"})
            writeFile(folder() + "/" + name, "bytes");

        // What the preview does, once it shows.
        std::function<void(ImportPreviewDialog&)> inPreview;
        int previews = 0;
        const auto import = [&](const QString& name) {
            QTimer::singleShot(0, [&] {
                auto* preview = qobject_cast<ImportPreviewDialog*>(QApplication::activeModalWidget());
                QVERIFY(preview);
                ++previews;
                inPreview(*preview);
                // Closed also when a check above failed.
                if (preview->isVisible())
                    preview->reject();
            });
            w.dialogs.openFileName = folder() + "/" + name;
            w.form.importDocument();
        };
        inPreview = [&](ImportPreviewDialog& preview) {
            auto* parts = preview.findChild<QTableWidget*>("importParts");
            QCOMPARE(parts->rowCount(), 3);
            QCOMPARE(parts->item(2, 3)->text(), QString("Not placed: left out"));
            QCOMPARE(preview.findChild<QLabel*>("importLeftOut")->text(),
                     QString("2 paragraphs (4 words) are left out."));
            preview.reject();
        };
        import("plan.docx");
        QCOMPARE(w.dialogs.openDialogs.last(),
                 QString("Import Document|Business plan documents (*.docx *.doc *.odt *.rtf *.html *.htm *.txt *.md)"));
        QCOMPARE(stored(folder(), "Company Name"), QString("Typed AS"));
        QCOMPARE(w.engine.state.calls.mid(w.engine.state.calls.indexOf("SaveDocumentAsFlatText plan.docx")),
                 QStringList({"SaveDocumentAsFlatText plan.docx", "Quit"}));

        inPreview = [&](ImportPreviewDialog& preview) {
            auto* parts = preview.findChild<QTableWidget*>("importParts");
            // A part going nowhere, chosen after a placed one, shows as left
            // out: Place does not send it where the other went.
            auto* placeIn = preview.findChild<QComboBox*>("importPlaceIn");
            parts->selectRow(1);
            QCOMPARE(placeIn->currentText(), QString("The Team"));
            parts->selectRow(2);
            QCOMPARE(placeIn->currentText(), QString("Left out"));
            // The row's own drop-down places it too.
            parts->editItem(parts->item(1, 3));
            auto* ownChoice = parts->findChild<QComboBox*>();
            QVERIFY(ownChoice);
            QCOMPARE(ownChoice->currentText(), QString("The Team"));
            ownChoice->setCurrentIndex(ownChoice->findText("Mission Statement"));
            QTest::keyClick(ownChoice, Qt::Key_Return);
            QTRY_COMPARE(parts->item(1, 3)->text(), QString("Mission Statement"));
            preview.place(1, 1);  // back to The Team
            parts->selectRow(2);
            preview.placeSelected(10);  // Key Issues
            QCOMPARE(preview.findChild<QLabel*>("importLeftOut")->text(), QString("Nothing is left out."));
            preview.findChild<QLineEdit*>("importCompany")->setText("Fjordlight Nord AS");
            preview.accept();
        };
        import("plan.docx");
        QCOMPARE(stored(folder(), "Company Name"), QString("Fjordlight Nord AS"));
        QCOMPARE(stored(folder(), "Business Plan"), QString("Plan 2027"));
        QCOMPARE(stored(folder(), "FirstStatement_1"), QString("Ada leads."));
        QCOMPARE(stored(folder(), "SecondStatement_4"), QString("Appendix\r\nHire two growers."));
        QCOMPARE(w.companyNameBox()->text(), QString("Fjordlight Nord AS"));
        QCOMPARE(w.form.document().snapshots().list().first().label(), QString("Before importing plan.docx"));

        for (const char* refused : {"locked.docx", "damaged.docx"}) {
            import(refused);
            QVERIFY(w.dialogs.messages.last().startsWith(folder() + "/" + refused));
        }
        QVERIFY(w.dialogs.messages.at(w.dialogs.messages.size() - 2).contains("needs a password"));
        QVERIFY(::mkfifo(QFile::encodeName(folder() + "/pipe.docx").constData(), 0600) == 0);
        import("pipe.docx");
        QCOMPARE(w.dialogs.messages.last(), folder() + "/pipe.docx cannot be imported: it is no document but a "
                                                       "folder, a pipe or a device.");
        QCOMPARE(previews, 2);
        QCOMPARE(stored(folder(), "Company Name"), QString("Fjordlight Nord AS"));
        QVERIFY(!w.form.isBusy());

        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(folder() + "/plan.docx")});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &enter);
        QVERIFY(enter.isAccepted());
    }

    // A document of 10,000 headings gets a working preview: every part
    // listed, placed and counted.
    void aPreviewTakesTenThousandHeadings()
    {
        ImportedDocument document;
        for (int i = 0; i < 10000; ++i)
            document.blocks << DocumentBlock{DocumentBlock::Kind::Heading, i % 2 ? "Risks" : "Glossary", 1}
                            << DocumentBlock{DocumentBlock::Kind::Paragraph, "Two words"};
        ImportPreviewDialog preview(document, "long.docx");
        QCOMPARE(preview.findChild<QTableWidget*>("importParts")->rowCount(), 10000);
        QCOMPARE(preview.findChild<QLabel*>("importLeftOut")->text(),
                 QString("10000 paragraphs (15000 words) are left out."));
        preview.findChild<QTableWidget*>("importParts")->selectAll();
        preview.placeSelected(PlanImport::kLeftOut);
        QCOMPARE(preview.findChild<QLabel*>("importLeftOut")->text(),
                 QString("20000 paragraphs (30000 words) are left out."));
    }

    void theMenuBarHoldsThePlanEditDeckAndHelpCommands()
    {
        Window w(folder());
        w.form.load();
        auto* bar = w.form.findChild<QMenuBar*>("menuBar");
        QStringList menus;
        for (QAction* menu : bar->actions())
            menus << menu->text();
        QCOMPARE(menus, QStringList({"&Plan", "&Edit", "&Deck", "&Help"}));
        const auto command = [&](int menu, const QString& text) {
            for (QAction* action : bar->actions().at(menu)->menu()->actions())
                if (action->text() == text)
                    return action;
            return static_cast<QAction*>(nullptr);
        };
        QVERIFY(command(0, "Save &As…") && command(0, "Open &Recent") && command(0, "&Quit"));
        typeInto(w.companyNameBox(), "Fjordlight AS");
        command(1, "Select &All")->trigger();
        command(1, "Cu&t")->trigger();
        QCOMPARE(stored(folder(), "Company Name"), QString());
        command(1, "&Undo")->trigger();
        QCOMPARE(stored(folder(), "Company Name"), QString("Fjordlight AS"));
        command(3, "&Home Page")->trigger();
        QCOMPARE(w.urls.opened.size(), 1);
        command(3, "&About Orvendale")->trigger();
        QVERIFY(w.dialogs.messages.last().contains("LibreOffice Impress 7.4.7.2"));
    }

    void layoutFollowsTheWindowTable()
    {
        Window w(folder());
        // Places in the controls' area between the menu bar and the status
        // line, in the window.
        const auto placed = [&](QWidget* control) {
            return QRect(control->mapTo(&w.form, QPoint(0, 0)) - QPoint(0, 22), control->size());
        };
        QCOMPARE(w.form.size(), QSize(631, 22 + 665 + 20));
        QCOMPARE(placed(w.createButton()), QRect(8, 8, 616, 27));
        QCOMPARE(placed(w.planTitleFrame()), QRect(8, 103, 616, 55));
        QCOMPARE(placed(w.firstSectionBox()).topLeft(), QPoint(15, 209));
        QCOMPARE(placed(w.secondSectionTabs()), QRect(8, 416, 616, 241));
        QCOMPARE(w.form.minimumSize(), w.form.maximumSize());
        QVERIFY(!(w.form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.firstSectionTabs()->tabBar()->tabText(0), QString("Mission Statement"));
        QCOMPARE(w.createButton()->font().pointSizeF(), 11.25);
        QVERIFY(w.form.font().bold());
    }

    void missingEngineEndsTheProgramWithItsMessageAtTheEndOfLoading()
    {
        Window w(folder());
        w.engine.state.installed = false;
        w.form.load();
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY(w.dialogs.messages.first().startsWith("LibreOffice Impress is not installed on this computer."));
        QCOMPARE(w.programEnd.ends, 1);
        QVERIFY(w.dialogs.errorReports.isEmpty());
        // Everything before the check has run.
        QCOMPARE(stored(folder(), "SecondStatement_0"), secondSectionGroup().guideText(0));
    }

    void closingTheWindowEndsTheProgram()
    {
        Window w(folder());
        w.form.load();
        w.form.show();
        w.form.close();
        QCOMPARE(w.programEnd.ends, 1);
    }
};

QTEST_MAIN(PlanWindowTest)
#include "test_plan_window.moc"
