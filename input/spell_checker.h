#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

class DictionaryEncoding;
class Hunspell;

// Spelling in the language the user writes, through Hunspell: the
// dictionaries installed on the system, the user's own word list, and the
// words ignored for the rest of the run. Checking reads the text and never
// changes it.
class SpellChecker : public QObject {
    Q_OBJECT
public:
    // A run of characters in a text, from start.
    struct Range {
        int start = 0;
        int length = 0;
        bool operator==(const Range&) const = default;
    };

    // Dictionaries are looked for in the folders in order (a language found
    // twice is taken from the first); words added to the dictionary are kept
    // in personalWordsFile, one a line.
    SpellChecker(QStringList dictionaryFolders, QString personalWordsFile);
    ~SpellChecker() override;

    // The folders named by DICPATH, then those the system's dictionaries
    // are installed in.
    static QStringList systemDictionaryFolders();

    // The installed dictionaries by name ("en_US"), sorted.
    QStringList languages() const;
    // The dictionary for the locale ("de_DE") when it is installed, else
    // English (US) when it is, else none.
    QString defaultLanguage(const QString& localeName) const;
    // The language as a menu shows it: "English (United States)".
    static QString displayName(const QString& language);

    // Checks with the language's dictionary from now on; with an unknown
    // language or no dictionary at all, no word counts as misspelled. A
    // dictionary that cannot be loaded (empty, damaged) turns checking off
    // too, and throws Failure saying so.
    void setLanguage(const QString& language);
    // Whether the language's dictionary looks loadable: its word list is
    // readable and starts with its count and a word, as a menu of languages
    // tells without loading each.
    bool looksLoadable(const QString& language) const;
    QString language() const { return mLanguage; }

    // The words of the text that the dictionary does not know.
    QList<Range> misspelled(const QString& text) const;
    // The same for a text edited from before, whose misspelled words were
    // found: only the words the edit touched are checked, so that a
    // keystroke in a long line costs what a short line does.
    QList<Range> misspelledAfterEdit(const QString& before, const QList<Range>& foundBefore,
                                     const QString& after) const;
    bool isMisspelled(const QString& word) const;
    // The dictionary's best guesses for a misspelled word, at most five.
    QStringList suggestions(const QString& word) const;
    // The word that the character at index belongs to; empty when none.
    static Range wordAt(const QString& text, int index);

    // Known from now on, in every language and in later runs, with the words
    // other copies of the program added meanwhile. Throws Failure when the
    // word list cannot be written (the word is still known for this run).
    void addToDictionary(const QString& word);
    // Known for the rest of this run.
    void ignoreAll(const QString& word);

signals:
    // What counts as misspelled changed: the language, or a word added or
    // ignored.
    void changed();

private:
    QString dictionaryBase(const QString& language) const;
    bool knows(const QString& word) const;

    QStringList mFolders;
    QString mPersonalWordsFile;
    QSet<QString> mPersonalWords;
    QSet<QString> mIgnoredWords;
    QString mLanguage;
    std::unique_ptr<Hunspell> mDictionary;
    std::unique_ptr<DictionaryEncoding> mEncoding;
    // The dictionary's answers so far: a line is checked again at every
    // keystroke, and its words mostly were checked before.
    mutable QHash<QString, bool> mAnswers;
};
