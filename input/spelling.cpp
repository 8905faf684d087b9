#include "input/spelling.h"

#include "shell/failure.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextBlockUserData>

namespace {

QTextCharFormat misspelledFormat()
{
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

}  // namespace

SpellingHighlighter::SpellingHighlighter(QPlainTextEdit& box, SpellChecker& checker)
    : QSyntaxHighlighter(box.document()), mBox(box), mChecker(checker)
{
    connect(&checker, &SpellChecker::changed, this, &SpellingHighlighter::recheck);
}

// A line as it was last checked, and its misspelled words.
struct CheckedLine : QTextBlockUserData {
    int recheck = 0;
    QString text;
    QList<SpellChecker::Range> misspelled;
};

void SpellingHighlighter::recheck()
{
    ++mRecheck;
    const QSignalBlocker sameText(mBox);
    rehighlight();
}

void SpellingHighlighter::highlightBlock(const QString& text)
{
    static const QTextCharFormat format = misspelledFormat();
    auto* line = static_cast<CheckedLine*>(currentBlockUserData());
    if (!line || line->recheck != mRecheck) {
        line = new CheckedLine;
        line->recheck = mRecheck;
        line->text = text;
        line->misspelled = mChecker.misspelled(text);
        setCurrentBlockUserData(line);  // the line owns it
    } else if (line->text != text) {
        line->misspelled = mChecker.misspelledAfterEdit(line->text, line->misspelled, text);
        line->text = text;
    }
    for (const SpellChecker::Range& word : std::as_const(line->misspelled))
        setFormat(word.start, word.length, format);
}

QList<SpellChecker::Range> markedMisspelled(const QTextBlock& line)
{
    const auto* checked = static_cast<const CheckedLine*>(line.userData());
    return checked ? checked->misspelled : QList<SpellChecker::Range>();
}

LineSpelling::LineSpelling(QLineEdit& box, SpellChecker& checker) : QObject(&box), mBox(box), mChecker(checker)
{
    connect(&box, &QLineEdit::textChanged, this, &LineSpelling::underline);
    connect(&checker, &SpellChecker::changed, this, &LineSpelling::underline);
}

// An input method event without text only sets the formats; their places
// count from the cursor.
void LineSpelling::underline()
{
    static const QTextCharFormat format = misspelledFormat();
    QList<QInputMethodEvent::Attribute> formats;
    for (const SpellChecker::Range& word : mChecker.misspelled(mBox.text()))
        formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, word.start - mBox.cursorPosition(),
                                                word.length, format);
    QInputMethodEvent event(QString(), formats);
    QCoreApplication::sendEvent(&mBox, &event);
}

void fillLanguageMenu(QMenu& languages, SpellChecker& checker,
                      const std::function<void(const QString& language)>& choose)
{
    languages.clear();
    qDeleteAll(languages.findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly));
    const QStringList installed = checker.languages();
    if (installed.isEmpty())
        languages.addAction(QStringLiteral("No dictionary installed"))->setEnabled(false);
    auto* group = new QActionGroup(&languages);
    for (const QString& language : installed) {
        // One that cannot be loaded says so here; chosen, it tells why.
        QAction* choice = languages.addAction(
            SpellChecker::displayName(language)
            + (checker.looksLoadable(language) ? QString() : QStringLiteral(" (cannot be loaded)")));
        choice->setCheckable(true);
        choice->setChecked(language == checker.language());
        choice->setData(language);
        group->addAction(choice);
        QObject::connect(choice, &QAction::triggered, &languages, [=] { choose(language); });
    }
}

void addSpellingEntries(QMenu& menu, SpellChecker& checker, const QString& text, int index,
                        const SpellingMenuActions& actions)
{
    QAction* const boxEntries = menu.actions().value(0);
    const auto add = [&](QAction* action) { menu.insertAction(boxEntries, action); };

    SpellChecker::Range at = SpellChecker::wordAt(text, index);
    // A pointer over the right half of a word's last letter stands after it.
    if (at.length == 0 && index > 0)
        at = SpellChecker::wordAt(text, index - 1);
    const QString word = text.mid(at.start, at.length);
    if (!word.isEmpty() && checker.isMisspelled(word)) {
        const QStringList suggestions = checker.suggestions(word);
        for (const QString& suggestion : suggestions) {
            auto* choice = new QAction(suggestion, &menu);
            QObject::connect(choice, &QAction::triggered, &menu, [=] { actions.replace(at, suggestion); });
            add(choice);
        }
        if (suggestions.isEmpty()) {
            auto* none = new QAction(QStringLiteral("No Suggestions"), &menu);
            none->setEnabled(false);
            add(none);
        }
        auto* keep = new QAction(QStringLiteral("Add to Dictionary"), &menu);
        QObject::connect(keep, &QAction::triggered, &menu, [=, &checker] {
            try {
                checker.addToDictionary(word);
            } catch (const Failure& failure) {
                actions.tellFailure(failure.description());
            }
        });
        add(keep);
        auto* ignore = new QAction(QStringLiteral("Ignore All"), &menu);
        QObject::connect(ignore, &QAction::triggered, &menu, [=, &checker] { checker.ignoreAll(word); });
        add(ignore);
    }

    auto* languages = new QMenu(QStringLiteral("Spelling Language"), &menu);
    fillLanguageMenu(*languages, checker, actions.chooseLanguage);
    menu.insertSeparator(boxEntries);
    menu.insertMenu(boxEntries, languages);
    menu.insertSeparator(boxEntries);
}
