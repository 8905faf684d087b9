#include "spell_checker.h"

#include "file_utils.h"

#include <hunspell.hxx>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextBoundaryFinder>


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

void SpellChecker::setLanguage(const QString& language)
{
    mLanguage = language;
    mDictionary.reset();
    mAnswers.clear();
    const QString base = language.isEmpty() ? QString() : dictionaryBase(language);
    if (!base.isEmpty()) {
        mDictionary = std::make_unique<Hunspell>(QFile::encodeName(base + QStringLiteral(".aff")).constData(),
                                                 QFile::encodeName(base + QStringLiteral(".dic")).constData());
        // Dictionaries are in UTF-8 or, the older ones, in ISO 8859-1.
        mUtf8 = QString::fromStdString(mDictionary->get_dict_encoding()).compare(QStringLiteral("UTF-8"),
                                                                                  Qt::CaseInsensitive) == 0;
    }
    emit changed();
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

bool SpellChecker::isMisspelled(const QString& word) const
{
    return mDictionary && isCheckedWord(word) && !knows(word);
}

QStringList SpellChecker::suggestions(const QString& word) const
{
    QStringList guesses;
    if (!mDictionary)
        return guesses;
    for (const std::string& guess : mDictionary->suggest(encoded(word).toStdString())) {
        if (guesses.size() == kMaxSuggestions)
            break;
        guesses << decoded(guess);
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
    QStringList words(mPersonalWords.cbegin(), mPersonalWords.cend());
    words.sort();
    QDir().mkpath(QFileInfo(mPersonalWordsFile).path());
    Main::writeBytesReplacing(mPersonalWordsFile, (words.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
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
    // A typographic apostrophe checks as the typed one.
    const QString typed = QString(word).replace(QChar(0x2019), QLatin1Char('\''));
    return mAnswers[word] = mDictionary->spell(encoded(typed).toStdString());
}

QByteArray SpellChecker::encoded(const QString& word) const
{
    return mUtf8 ? word.toUtf8() : word.toLatin1();
}

QString SpellChecker::decoded(const std::string& word) const
{
    return mUtf8 ? QString::fromStdString(word) : QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
}
