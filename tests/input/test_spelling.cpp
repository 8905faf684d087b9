// Spelling in the plan window: what is underlined, the context menu's
// entries, and that checking never writes anything of its own.
#include "input/plan_window.h"
#include "input/spell_checker.h"
#include "tests/support/fake_engine.h"
#include "tests/support/fake_shell.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <memory>

namespace {

// A plan window over a store of its own. Dictionaries are looked for in
// dictionaries/ under the folder, then, unless left out, in the system's.
struct Window : FakeShell {
    Window(const QString& folder, bool systemDictionaries = true)
        : FakeShell(folder + "/Kervanel.json", folder),
          spelling(QStringList{folder + "/dictionaries"}
                       + (systemDictionaries ? SpellChecker::systemDictionaryFolders() : QStringList()),
                   folder + "/data/personal-words.txt"),
          form(services(), engine, spelling)
    {
        form.load();
        form.show();
        QCoreApplication::processEvents();
    }

    QLineEdit* planTitleBox() { return form.findChild<QLineEdit*>("planTitleBox"); }
    QLineEdit* companyNameBox() { return form.findChild<QLineEdit*>("companyNameBox"); }
    QPlainTextEdit* sectionBox() { return form.findChild<QPlainTextEdit*>("firstSectionBox"); }

    FakeEngine engine;
    SpellChecker spelling;
    PlanWindow form;
};

// The underlined runs of a section box's first line, as (start, length).
QList<QPair<int, int>> underlinedInSection(QPlainTextEdit* box)
{
    QList<QPair<int, int>> runs;
    for (const QTextLayout::FormatRange& range : box->document()->firstBlock().layout()->formats())
        if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
            runs << qMakePair(range.start, range.length);
    return runs;
}

// Where the characters of a one-line box start and end on screen: the x of
// the cursor before index.
int xBefore(QLineEdit* box, int index)
{
    box->setCursorPosition(index);
    return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

// The columns of a one-line box that show red ink, as [first, last]; an
// empty pair when none does.
QPair<int, int> redColumns(QLineEdit* box)
{
    const QImage image = box->grab().toImage();
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y) {
            const QColor ink = image.pixelColor(x, y);
            if (ink.red() - std::max(ink.green(), ink.blue()) > 60) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
    return {first, last};
}

// Opens the box's context menu over the character at index and, while it is
// open, follows the path ("Spelling Language", "English (United States)"):
// picks the entry it ends at, or the submenu. Returns the entries of the
// menu it ended in, a disabled one marked "(off)".
QStringList pickFromMenu(QWidget* box, int index, const QStringList& path)
{
    QPoint at;
    QWidget* clicked = box;
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        at = QPoint(xBefore(line, index) + 2, line->height() / 2);
    } else {
        auto* section = static_cast<QPlainTextEdit*>(box);
        QTextCursor cursor(section->document());
        cursor.setPosition(index);
        at = section->cursorRect(cursor).center() + QPoint(2, 0);
        clicked = section->viewport();
    }
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QMenu* level = menu;
        for (const QString& step : path)
            for (QAction* action : level->actions())
                if (action->text() == step) {
                    if (action->menu())
                        level = action->menu();
                    else
                        action->trigger();
                    break;
                }
        for (QAction* action : level->actions())
            entries << (action->isSeparator() ? QString("--") : action->text() + (action->isEnabled() ? "" : " (off)"));
        menu->close();
    });
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, clicked->mapToGlobal(at));
    QApplication::sendEvent(clicked, &rightClick);
    return entries;
}

void writeDictionary(const QString& folder, const QString& name, const QStringList& words)
{
    QDir().mkpath(folder);
    QFile aff(folder + "/" + name + ".aff");
    aff.open(QIODevice::WriteOnly);
    aff.write("SET UTF-8\nTRY esianrtolcdugmfphbyvkw\n");
    QFile dic(folder + "/" + name + ".dic");
    dic.open(QIODevice::WriteOnly);
    dic.write((QString::number(words.size()) + "\n" + words.join("\n") + "\n").toUtf8());
}

// A dictionary in an encoding of its own, as the system's converter writes
// it; its letters are what a suggestion may try.
void writeEncodedDictionary(const QString& folder, const QString& name, const QString& encoding,
                            const QByteArray& converterName, const QStringList& words)
{
    QString letters;
    for (const QChar letter : words.join(""))
        if (!letters.contains(letter))
            letters += letter;
    const auto encoded = [&](const QString& text) {
        QProcess iconv;
        iconv.start("iconv", {"-f", "UTF-8", "-t", converterName});
        iconv.write(text.toUtf8());
        iconv.closeWriteChannel();
        iconv.waitForFinished();
        return iconv.readAllStandardOutput();
    };
    QDir().mkpath(folder);
    QFile aff(folder + "/" + name + ".aff");
    aff.open(QIODevice::WriteOnly);
    aff.write(encoded("SET " + encoding + "\nTRY " + letters + "\n"));
    QFile dic(folder + "/" + name + ".dic");
    dic.open(QIODevice::WriteOnly);
    dic.write(encoded(QString::number(words.size()) + "\n" + words.join("\n") + "\n"));
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

}  // namespace

class SpellingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> mFolder;
    QString folder() const { return mFolder->path(); }

private slots:
    void init()
    {
        mFolder = std::make_unique<QTemporaryDir>();
        if (!QFile::exists("/usr/share/hunspell/en_US.dic"))
            QSKIP("the English (US) dictionary is not installed");
    }

    void misspelledWordsAreUnderlinedOnExactlyTheirCharacters()
    {
        Window w(folder());
        w.sectionBox()->selectAll();
        QTest::keyClicks(w.sectionBox(), "Wrold recieve 2027 orders, don't we");
        QCOMPARE(underlinedInSection(w.sectionBox()), (QList<QPair<int, int>>{{0, 5}, {6, 7}}));

        w.planTitleBox()->setFocus();
        QTest::keyClicks(w.planTitleBox(), "Growth plann");
        const QPair<int, int> red = redColumns(w.planTitleBox());
        QVERIFY2(red.first >= xBefore(w.planTitleBox(), 7) - 1 && red.second <= xBefore(w.planTitleBox(), 12) + 1,
                 qPrintable(QString("red from %1 to %2").arg(red.first).arg(red.second)));
        QVERIFY(red.second - red.first > (xBefore(w.planTitleBox(), 12) - xBefore(w.planTitleBox(), 7)) / 2);

        // The company name is a proper name: never checked.
        w.companyNameBox()->setFocus();
        QTest::keyClicks(w.companyNameBox(), "Fjordlicht Vaxtbolag");
        QCOMPARE(redColumns(w.companyNameBox()).first, -1);
        QVERIFY(w.dialogs.errorReports.isEmpty());
    }

    // A screen reader finds the misspelled words of a section by their
    // attribute, on exactly their characters in any line, and reads the
    // text and its lines through the same interface.
    void misspelledWordsCarryTheSpellingAttribute()
    {
        Window w(folder());
        w.sectionBox()->selectAll();
        QTest::keyClicks(w.sectionBox(), "Good wrold");
        QTest::keyClick(w.sectionBox(), Qt::Key_Return);
        QTest::keyClicks(w.sectionBox(), "We recieve orders");
        QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(w.sectionBox())->textInterface();
        QVERIFY(text);
        const auto run = [&](int offset) {
            int start = 0, end = 0;
            const QString attributes = text->attributes(offset, &start, &end);
            return QString("%1-%2 %3").arg(start).arg(end).arg(attributes);
        };
        // "Good wrold" and its line break are 0 to 11, "We recieve orders"
        // 11 to 28.
        QCOMPARE(run(4), QString("0-5 "));
        QCOMPARE(run(5), QString("5-10 invalid:spelling;"));
        QCOMPARE(run(9), QString("5-10 invalid:spelling;"));
        QCOMPARE(run(10), QString("10-11 "));
        QCOMPARE(run(11), QString("11-14 "));
        QCOMPARE(run(20), QString("14-21 invalid:spelling;"));
        QCOMPARE(run(21), QString("21-28 "));
        QCOMPARE(run(27), QString("21-28 "));
        QCOMPARE(run(28), QString("-1--1 "));

        QCOMPARE(text->characterCount(), 28);
        QCOMPARE(text->text(5, 14), QString("wrold\nWe "));
        int start = 0, end = 0;
        QCOMPARE(text->textAtOffset(16, QAccessible::LineBoundary, &start, &end), QString("We recieve orders"));
        QCOMPARE(text->textBeforeOffset(16, QAccessible::LineBoundary, &start, &end), QString("Good wrold"));
        QCOMPARE(text->textAfterOffset(3, QAccessible::LineBoundary, &start, &end), QString("We recieve orders"));
        QCOMPARE(QPair(start, end), QPair(11, 28));
        QCOMPARE(text->textBeforeOffset(3, QAccessible::LineBoundary, &start, &end), QString());
        QCOMPARE(text->textAfterOffset(16, QAccessible::LineBoundary, &start, &end), QString());
    }

    // A suggestion replaces the word and is stored like a keystroke, in the
    // section and in the plan title.
    void theFirstSuggestionReplacesTheWordAndIsStored()
    {
        Window w(folder());
        w.sectionBox()->selectAll();
        QTest::keyClicks(w.sectionBox(), "Recieve the plan");
        const QStringList entries = pickFromMenu(w.sectionBox(), 2, {});
        pickFromMenu(w.sectionBox(), 2, {"Receive"});
        QCOMPARE(entries.first(), QString("Receive"));
        QVERIFY(entries.contains("Add to Dictionary") && entries.contains("Ignore All")
                && entries.contains("Spelling Language"));
        QVERIFY(entries.indexOf("Spelling Language") < entries.indexOf(QRegularExpression("^&Undo")));
        QCOMPARE(w.store.getSetting("FirstStatement_0"), QString("Receive the plan"));
        QVERIFY(underlinedInSection(w.sectionBox()).isEmpty());

        w.planTitleBox()->setFocus();
        QTest::keyClicks(w.planTitleBox(), "A plann for 2027");
        pickFromMenu(w.planTitleBox(), 3, {"plan"});
        QCOMPARE(w.store.getSetting("Business Plan"), QString("A plan for 2027"));
    }

    void wordsAddedAreKnownAfterARestartAndIgnoredOnesForThisRun()
    {
        {
            Window w(folder());
            w.sectionBox()->selectAll();
            QTest::keyClicks(w.sectionBox(), "Vaxtbolag grows qwzx");
            pickFromMenu(w.sectionBox(), 1, {"Add to Dictionary"});
            pickFromMenu(w.sectionBox(), 17, {"Ignore All"});
            QVERIFY(underlinedInSection(w.sectionBox()).isEmpty());
        }
        QCOMPARE(bytesOf(folder() + "/data/personal-words.txt"), QByteArray("Vaxtbolag\n"));
        Window again(folder());
        QCOMPARE(underlinedInSection(again.sectionBox()), (QList<QPair<int, int>>{{16, 4}}));
    }

    // The chosen dictionary is kept in the store and used at the next start.
    void switchingTheLanguageChangesWhatIsUnderlined()
    {
        writeDictionary(folder() + "/dictionaries", "en_GB", {"colour", "of", "the", "plan"});
        {
            Window w(folder());
            w.sectionBox()->selectAll();
            QTest::keyClicks(w.sectionBox(), "colour of the plan");
            QCOMPARE(underlinedInSection(w.sectionBox()), (QList<QPair<int, int>>{{0, 6}}));
            pickFromMenu(w.sectionBox(), 8, {"Spelling Language", "English (United Kingdom)"});
            QVERIFY(underlinedInSection(w.sectionBox()).isEmpty());
            QCOMPARE(w.store.getSetting("Spelling Language"), QString("en_GB"));
            QCOMPARE(w.store.getSetting("FirstStatement_0"), QString("colour of the plan"));
        }
        Window again(folder());
        QCOMPARE(again.spelling.language(), QString("en_GB"));
        QVERIFY(underlinedInSection(again.sectionBox()).isEmpty());
    }

    // Checking a plan loaded from the store underlines it and writes nothing.
    void aLoadedPlanIsCheckedWithoutWritingAnything()
    {
        QFile store(folder() + "/Kervanel.json");
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write(R"({"Orvendale": {"Company Name": "Acme", "Business Plan": "Oure plan",
                        "FirstStatement_0": "Wrold grows\r\n- a hintt", "SecondStatement_0": "Fine words",
                        "Spelling Language": "en_US"}})");
        store.close();
        const QByteArray before = bytesOf(store.fileName());
        Window w(folder());
        QCOMPARE(underlinedInSection(w.sectionBox()), (QList<QPair<int, int>>{{0, 5}}));
        QVERIFY(redColumns(w.planTitleBox()).first >= 0);
        QCOMPARE(bytesOf(store.fileName()), before);
        QCOMPARE(w.planTitleBox()->text(), QString("Oure plan"));
    }

    // A dictionary in an older 8-bit encoding checks and suggests in it; a
    // word in another script is not its to judge.
    void aDictionaryInItsOwnEncodingChecksAndSuggests_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("converterName");
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<QString>("misspelled");
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("foreign");
        const QStringList polish{u"łódź"_qs, u"żółw"_qs, u"gęś"_qs};
        const QStringList russian{u"жук"_qs, u"мир"_qs, u"дом"_qs};
        // clang-format off
        QTest::newRow("ISO 8859-2") << "ISO8859-2" << QByteArray("ISO8859-2") << polish << u"łódx"_qs << u"łódź"_qs << u"жук"_qs;
        QTest::newRow("KOI8-R") << "KOI8-R" << QByteArray("KOI8-R") << russian << u"жуг"_qs << u"жук"_qs << u"łódź"_qs;
        QTest::newRow("cp1251") << "microsoft-cp1251" << QByteArray("CP1251") << russian << u"мор"_qs << u"мир"_qs << u"łódź"_qs;
        QTest::newRow("ISO 8859-7") << "ISO8859-7" << QByteArray("ISO8859-7") << QStringList{u"κόσμος"_qs, u"λόγος"_qs} << u"λόγοι"_qs << u"λόγος"_qs << u"жук"_qs;
        // clang-format on
    }

    void aDictionaryInItsOwnEncodingChecksAndSuggests()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, converterName);
        QFETCH(QStringList, words);
        QFETCH(QString, misspelled);
        QFETCH(QString, suggested);
        QFETCH(QString, foreign);
        writeEncodedDictionary(folder(), "xx_XX", encoding, converterName, words);
        SpellChecker checker({folder()}, folder() + "/words.txt");
        checker.setLanguage("xx_XX");
        QVERIFY(checker.misspelled(words.join(" ") + " " + foreign).isEmpty());
        QVERIFY(checker.isMisspelled(misspelled));
        QVERIFY2(checker.suggestions(misspelled).contains(suggested),
                 qPrintable(checker.suggestions(misspelled).join(",")));
    }

    // After an edit only the words it touched are checked again, and what is
    // found is what checking the whole text finds.
    void anEditIsCheckedWhereItTouches_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        const QString line = "Wrold recieve the plan, don't we? Thre markets";
        // clang-format off
        QTest::newRow("a letter typed at the end") << line << line + "s";
        QTest::newRow("a letter typed inside a word") << line << QString(line).insert(2, "o");
        QTest::newRow("a word mended") << line << QString(line).replace("recieve", "receive");
        QTest::newRow("two words joined") << line << QString(line).remove(22, 1);
        QTest::newRow("a space splits a word") << line << QString(line).insert(8, " ");
        QTest::newRow("everything replaced") << line << "Totally new txet";
        QTest::newRow("emptied") << line << "";
        QTest::newRow("from empty") << "" << line;
        QTest::newRow("repeated letters") << "aaaa bbbb" << "aaaa bbbbb";
        // clang-format on
    }

    void anEditIsCheckedWhereItTouches()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        SpellChecker checker(SpellChecker::systemDictionaryFolders(), folder() + "/words.txt");
        checker.setLanguage("en_US");
        QCOMPARE(checker.misspelledAfterEdit(before, checker.misspelled(before), after), checker.misspelled(after));
    }

    // A keystroke at the end of a line of a megabyte (a section pasted
    // without line breaks) checks the words it touched, not the line.
    void aKeystrokeInAVeryLongLineChecksOnlyItsWords()
    {
        SpellChecker checker(SpellChecker::systemDictionaryFolders(), folder() + "/words.txt");
        checker.setLanguage("en_US");
        QString line;
        while (line.size() < 1100000)
            line += "Our growth rests on three markets and a lean team. ";
        const QList<SpellChecker::Range> found = checker.misspelled(line);
        QElapsedTimer timer;
        timer.start();
        checker.misspelled(line + "wrod");
        const qint64 whole = timer.nsecsElapsed();
        timer.restart();
        const QList<SpellChecker::Range> edited = checker.misspelledAfterEdit(line, found, line + "wrod");
        const qint64 touched = timer.nsecsElapsed();
        QCOMPARE(edited, QList<SpellChecker::Range>({{static_cast<int>(line.size()), 4}}));
        QVERIFY2(
            touched * 4 < whole,
            qPrintable(QString("%1 ms for the edit, %2 ms for the whole line").arg(touched / 1e6).arg(whole / 1e6)));
    }

    // A letter typed as its base letter and an accent is the letter the
    // dictionary holds.
    void aDecomposedLetterIsTheLetter()
    {
        writeDictionary(folder(), "xx_XX", {u"café"_qs});
        SpellChecker checker({folder()}, folder() + "/words.txt");
        checker.setLanguage("xx_XX");
        QVERIFY(!checker.isMisspelled(u"cafe\u0301"_qs));
        QVERIFY(checker.isMisspelled(u"cafe\u0300"_qs));
    }

    // Words added by two copies of the program at once are all kept, and a
    // word list reached through links, two in a row to a file not made yet,
    // stays so.
    void wordsAddedByTwoCopiesAreAllKeptThroughALink()
    {
        writeDictionary(folder(), "xx_XX", {"plan"});
        const QString target = folder() + "/elsewhere/words.txt";
        QDir().mkpath(folder() + "/elsewhere");
        QVERIFY(QFile::link(target, folder() + "/middle.txt"));
        QVERIFY(QFile::link(folder() + "/middle.txt", folder() + "/words.txt"));
        SpellChecker first({folder()}, folder() + "/words.txt"), second({folder()}, folder() + "/words.txt");
        first.addToDictionary("Fjordlight");
        second.addToDictionary("Vaxtbolag");
        first.addToDictionary("Kervanel");
        QCOMPARE(bytesOf(target), QByteArray("Fjordlight\nKervanel\nVaxtbolag\n"));
        QVERIFY(QFileInfo(folder() + "/words.txt").isSymLink());
        QVERIFY(QFileInfo(folder() + "/middle.txt").isSymLink());
    }

    // A dictionary that cannot be loaded is marked in the menu; choosing it
    // says why, once, and checking is off; the choice is not kept.
    void aDictionaryThatCannotBeLoadedIsToldOnce_data()
    {
        QTest::addColumn<QByteArray>("wordList");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no count") << QByteArray("plan\nthe\n");
        QTest::newRow("cut short") << QByteArray("5000\n");
    }

    void aDictionaryThatCannotBeLoadedIsToldOnce()
    {
        QFETCH(QByteArray, wordList);
        writeDictionary(folder() + "/dictionaries", "en_GB", {});
        QFile dic(folder() + "/dictionaries/en_GB.dic");
        QVERIFY(dic.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dic.write(wordList);
        dic.close();
        Window w(folder());
        w.sectionBox()->selectAll();
        QTest::keyClicks(w.sectionBox(), "Recieve the plan");
        pickFromMenu(w.sectionBox(), 1, {"Spelling Language", "English (United Kingdom) (cannot be loaded)"});
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY2(w.dialogs.messages.first().startsWith("The English (United Kingdom) dictionary"),
                 qPrintable(w.dialogs.messages.first()));
        QTest::keyClicks(w.sectionBox(), " more wrods");
        QVERIFY(underlinedInSection(w.sectionBox()).isEmpty());
        QCOMPARE(w.dialogs.messages.size(), 1);
        QVERIFY(w.store.getSetting("Spelling Language") != "en_GB");
    }

    void withoutADictionaryNothingIsUnderlinedAndTheMenuSaysSo()
    {
        Window w(folder(), false);
        QVERIFY(w.spelling.languages().isEmpty());
        w.sectionBox()->selectAll();
        QTest::keyClicks(w.sectionBox(), "Recieve qwzx");
        QVERIFY(underlinedInSection(w.sectionBox()).isEmpty());
        QCOMPARE(pickFromMenu(w.sectionBox(), 1, {"Spelling Language"}),
                 QStringList({"No dictionary installed (off)"}));
        QVERIFY(w.dialogs.errorReports.isEmpty() && w.dialogs.messages.isEmpty());
        QCOMPARE(w.store.getSetting("FirstStatement_0"), QString("Recieve qwzx"));
    }
};

QTEST_MAIN(SpellingTest)
#include "test_spelling.moc"
