#pragma once

#include <QByteArray>
#include <QString>

#include <iconv.h>
#include <optional>
#include <string>

// The encoding a Hunspell dictionary takes and gives its words in, as its
// affix file names it: UTF-8 in most, one of the older 8-bit sets
// (ISO 8859-2, KOI8-R, cp1251, ...) in some.
class DictionaryEncoding {
public:
    explicit DictionaryEncoding(const std::string& name);
    ~DictionaryEncoding();
    DictionaryEncoding(const DictionaryEncoding&) = delete;
    DictionaryEncoding& operator=(const DictionaryEncoding&) = delete;

    // The word in the dictionary's encoding; none when it holds a letter the
    // encoding lacks, which no word of the dictionary can hold either.
    std::optional<QByteArray> encode(const QString& word) const;
    QString decode(const std::string& word) const;

private:
    void close();

    inline static const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    // Both kNone for UTF-8, which Qt converts itself.
    iconv_t mToDictionary = kNone;
    iconv_t mFromDictionary = kNone;
};
