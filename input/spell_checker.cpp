#include "input/spell_checker.h"

#include "input/dictionary_encoding.h"
#include "shell/failure.h"
#include "shell/file_utils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QLockFile>
#include <QTextBoundaryFinder>

#include <hunspell.hxx>

namespace {

constexpr int kMaxSuggestions = 5;

// A run of characters is a word to check when it holds a letter and no
// digit: numbers, dates and codes such as "B2B" are left alone.
bool isCheckedWord(QStringView text)
{
    bool letter = false;
    for (const QChar c : text) {
        if (c.isDigit())
            return false;
        letter = letter || c.isLetter();
    }
    return letter;
}

// Calls found for each word of the text, in order.
template <typename Found>
void forEachWord(const QString& text, Found&& found)
{
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    int start = 0;
    for (int end = static_cast<int>(words.toNextBoundary()); end != -1;
         end = static_cast<int>(words.toNextBoundary())) {
        if (isCheckedWord(QStringView(text).mid(start, end - start)))
            if (!found(SpellChecker::Range{start, end - start}))
                return;
        start = end;
    }
}

// The first word of a dictionary's word list, in the dictionary's encoding:
// the list starts with its count, then an entry a line, each a word and its
// affix flags after a slash. Empty when the list is missing or holds none.
QByteArray firstWordOf(const QString& wordList)
{
    QFile words(wordList);
    bool counted = false;
    if (!words.open(QIODevice::ReadOnly) || words.readLine(64).trimmed().toInt(&counted) <= 0 || !counted)
        return {};
    return words.readLine().trimmed().split('/').value(0).split('\t').value(0);
}

QSet<QString> readWords(const QString& path)
{
    QSet<QString> words;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (const QString word = QString::fromUtf8(line).trimmed(); !word.isEmpty())
                words.insert(word);
    return words;
}

}  // namespace

SpellChecker::SpellChecker(QStringList dictionaryFolders, QString personalWordsFile)
    : mFolders(std::move(dictionaryFolders)),
      mPersonalWordsFile(std::move(personalWordsFile)),
      mPersonalWords(readWords(mPersonalWordsFile))
{
}

SpellChecker::~SpellChecker() = default;

QStringList SpellChecker::systemDictionaryFolders()
{
    QStringList folders = qEnvironmentVariable("DICPATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
            << QStringLiteral("/usr/share/myspell/dicts");
    return folders;
}

QStringList SpellChecker::languages() const
{
    QSet<QString> found;
    for (const QString& folder : mFolders)
        for (const QFileInfo& dic : QDir(folder).entryInfoList({QStringLiteral("*.dic")}, QDir::Files | QDir::Readable))
            if (QFileInfo::exists(dic.path() + QStringLiteral("/") + dic.completeBaseName() + QStringLiteral(".aff")))
                found.insert(dic.completeBaseName());
    QStringList languages(found.cbegin(), found.cend());
    languages.sort();
    return languages;
}

QString SpellChecker::defaultLanguage(const QString& localeName) const
{
    const QStringList installed = languages();
    for (const QString& wanted : {localeName.section(QLatin1Char('.'), 0, 0), QStringLiteral("en_US")})
        if (installed.contains(wanted))
            return wanted;
    return QString();
}

QString SpellChecker::displayName(const QString& language)
{
    const QLocale locale(language);
    if (locale.language() == QLocale::C || !language.contains(QLatin1Char('_')))
        return language;
    return QStringLiteral("%1 (%2)").arg(QLocale::languageToString(locale.language()),
                                         QLocale::territoryToString(locale.territory()));
}

QString SpellChecker::dictionaryBase(const QString& language) const
{
    for (const QString& folder : mFolders) {
        const QString base = folder + QStringLiteral("/") + language;
        if (QFileInfo::exists(base + QStringLiteral(".dic")) && QFileInfo::exists(base + QStringLiteral(".aff")))
            return base;
    }
    return QString();
}

bool SpellChecker::looksLoadable(const QString& language) const
{
    return !firstWordOf(dictionaryBase(language) + QStringLiteral(".dic")).isEmpty();
}

void SpellChecker::setLanguage(const QString& language)
{
    mLanguage = language;
    mDictionary.reset();
    mAnswers.clear();
    const QString base = language.isEmpty() ? QString() : dictionaryBase(language);
    const QByteArray firstWord = base.isEmpty() ? QByteArray() : firstWordOf(base + QStringLiteral(".dic"));
    if (!firstWord.isEmpty()) {
        mDictionary = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                                 QFile::encodeName(base + QStringLiteral(".dic")).constData());
        mEncoding = std::make_unique<DictionaryEncoding>(mDictionary->get_dict_encoding());
        // A loaded dictionary knows the first word of its own list.
        if (!mDictionary->spell(firstWord.toStdString()))
            mDictionary.reset();
    }
    emit changed();
    if (!base.isEmpty() && !mDictionary)
        throw Failure(QStringLiteral("The %1 dictionary (%2) cannot be loaded: its word list is empty or damaged, "
                                     "so spelling is not checked. Reinstall its package, or choose another "
                                     "language.")
                          .arg(displayName(language), QDir::toNativeSeparators(base + QStringLiteral(".dic"))));
}

QList<SpellChecker::Range> SpellChecker::misspelled(const QString& text) const
{
    QList<Range> found;
    if (!mDictionary)
        return found;
    forEachWord(text, [&](Range word) {
        if (!knows(text.mid(word.start, word.length)))
            found << word;
        return true;
    });
    return found;
}

QList<SpellChecker::Range> SpellChecker::misspelledAfterEdit(const QString& before, const QList<Range>& foundBefore,
                                                             const QString& after) const
{
    // The edit lies between what the two texts share at their start and at
    // their end; the words it touched reach from the space before it to the
    // space after it, as no word holds a space.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype same = 0;
    while (same < shorter && before.at(same) == after.at(same))
        ++same;
    qsizetype sameAtEnd = 0;
    while (sameAtEnd < shorter - same
           && before.at(before.size() - 1 - sameAtEnd) == after.at(after.size() - 1 - sameAtEnd))
        ++sameAtEnd;
    qsizetype from = same;
    while (from > 0 && !after.at(from - 1).isSpace())
        --from;
    qsizetype to = after.size() - sameAtEnd;
    while (to < after.size() && !after.at(to).isSpace())
        ++to;
    const int moved = static_cast<int>(after.size() - before.size());
    const qsizetype toBefore = to - moved;

    QList<Range> found;
    for (const Range& word : foundBefore)
        if (word.start + word.length <= from)
            found << word;
    for (const Range& word : misspelled(after.mid(from, to - from)))
        found << Range{word.start + static_cast<int>(from), word.length};
    for (const Range& word : foundBefore)
        if (word.start >= toBefore)
            found << Range{word.start + moved, word.length};
    return found;
}

bool SpellChecker::isMisspelled(const QString& word) const
{
    return mDictionary && isCheckedWord(word) && !knows(word);
}

QStringList SpellChecker::suggestions(const QString& word) const
{
    QStringList guesses;
    if (!mDictionary)
        return guesses;
    const std::optional<QByteArray> asTyped = mEncoding->encode(word.normalized(QString::NormalizationForm_C));
    if (!asTyped)
        return guesses;
    for (const std::string& guess : mDictionary->suggest(asTyped->toStdString())) {
        if (guesses.size() == kMaxSuggestions)
            break;
        guesses << mEncoding->decode(guess);
    }
    return guesses;
}

SpellChecker::Range SpellChecker::wordAt(const QString& text, int index)
{
    Range at;
    forEachWord(text, [&](Range word) {
        if (index < word.start)
            return false;
        if (index < word.start + word.length) {
            at = word;
            return false;
        }
        return true;
    });
    return at;
}

void SpellChecker::addToDictionary(const QString& word)
{
    mPersonalWords.insert(word);
    emit changed();
    // Another copy of the program may add words at the same time: under a
    // lock, the list as it stands now gets this copy's words and is written
    // whole, then renamed over it; a list that is a link (kept with the
    // user's other settings, say) stays one.
    const QString target = Files::fileBehindLinks(mPersonalWordsFile);
    QDir().mkpath(QFileInfo(target).path());
    QLockFile lock(mPersonalWordsFile + QStringLiteral(".lock"));
    if (!lock.tryLock(5000))
        throw Failure(
            QStringLiteral("%1 could not be written: another program holds it.").arg(QDir::toNativeSeparators(target)));
    mPersonalWords.unite(readWords(target));
    QStringList words(mPersonalWords.cbegin(), mPersonalWords.cend());
    words.sort();
    Files::writeBytesReplacing(target, (words.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

void SpellChecker::ignoreAll(const QString& word)
{
    mIgnoredWords.insert(word);
    emit changed();
}

bool SpellChecker::knows(const QString& word) const
{
    if (mPersonalWords.contains(word) || mIgnoredWords.contains(word))
        return true;
    const auto answered = mAnswers.constFind(word);
    if (answered != mAnswers.cend())
        return *answered;
    // A typographic apostrophe checks as the typed one, and a letter typed
    // as a base letter and an accent (as some sources paste it) as the one
    // letter the dictionary holds.
    const QString typed =
        QString(word).replace(QChar(0x2019), QLatin1Char('\'')).normalized(QString::NormalizationForm_C);
    const std::optional<QByteArray> encoded = mEncoding->encode(typed);
    // A word with letters the dictionary's encoding lacks is in another
    // script than the dictionary's: not for it to judge.
    return mAnswers[word] = !encoded || mDictionary->spell(encoded->toStdString());
}
