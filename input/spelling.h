#pragma once

#include "input/spell_checker.h"

#include <QSyntaxHighlighter>

#include <functional>

class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTextBlock;

// The red wavy line under the words of a text box that the dictionary does
// not know. Only the format changes: the box's text, its undo history and
// its change signals are left as they are.
class SpellingHighlighter : public QSyntaxHighlighter {
public:
    // Made while the box is empty: what it shows later is checked as it is
    // put in.
    SpellingHighlighter(QPlainTextEdit& box, SpellChecker& checker);

protected:
    // Called for each changed line only.
    void highlightBlock(const QString& text) override;

private:
    // Checks every line again, without telling the box's listeners of a
    // change: the text is the same.
    void recheck();

    QPlainTextEdit& mBox;
    SpellChecker& mChecker;
    // Counts the rechecks: a line last checked before the latest one is
    // checked whole.
    int mRecheck = 0;
};

// The words of a section box's line that carry the red line, as last
// checked.
QList<SpellChecker::Range> markedMisspelled(const QTextBlock& line);

// The same line under the words of a one-line box, drawn through the box's
// input method formats, which change nothing of its text.
class LineSpelling : public QObject {
public:
    LineSpelling(QLineEdit& box, SpellChecker& checker);

private:
    void underline();

    QLineEdit& mBox;
    SpellChecker& mChecker;
};

// What the spelling part of a context menu does to a box and the plan.
struct SpellingMenuActions {
    // Puts the word in place of the range of the box's text.
    std::function<void(SpellChecker::Range, const QString& word)> replace;
    // The user chose another dictionary.
    std::function<void(const QString& language)> chooseLanguage;
    // A word could not be kept in the word list.
    std::function<void(const QString& description)> tellFailure;
};

// Fills a "Spelling Language" menu afresh: every installed dictionary, the
// one in use checked, each one that cannot be loaded marked.
void fillLanguageMenu(QMenu& languages, SpellChecker& checker,
                      const std::function<void(const QString& language)>& choose);

// Puts the spelling entries at the top of a box's context menu, for the
// word at index of text (or the one ending right before it): up to five suggestions, "Add to Dictionary" and
// "Ignore All" when the word is misspelled, then the "Spelling Language"
// submenu.
void addSpellingEntries(QMenu& menu, SpellChecker& checker, const QString& text, int index,
                        const SpellingMenuActions& actions);
