#include "input/dictionary_encoding.h"

#include <cerrno>

namespace {

// The bytes in another encoding; none when a character has no place in it.
std::optional<QByteArray> convert(iconv_t converter, const QByteArray& bytes)
{
    ::iconv(converter, nullptr, nullptr, nullptr, nullptr);
    QByteArray converted(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* out = converted.data();
    size_t outLeft = static_cast<size_t>(converted.size());
    if (::iconv(converter, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    converted.truncate(converted.size() - static_cast<qsizetype>(outLeft));
    return converted;
}

// The name the system's converter knows the encoding by: Hunspell's
// "microsoft-cp1251" is "cp1251" there; a dictionary without one is in
// ISO 8859-1.
QByteArray converterName(const std::string& name)
{
    QByteArray known = QByteArray::fromStdString(name).trimmed();
    if (known.isEmpty())
        return "ISO8859-1";
    if (known.toLower().startsWith("microsoft-"))
        known = known.mid(10);
    return known;
}

}  // namespace

DictionaryEncoding::DictionaryEncoding(const std::string& name)
{
    const QByteArray encoding = converterName(name);
    if (encoding.compare("UTF-8", Qt::CaseInsensitive) == 0)
        return;
    mToDictionary = ::iconv_open(encoding.constData(), "UTF-8");
    mFromDictionary = ::iconv_open("UTF-8", encoding.constData());
    // An encoding the system does not know is taken for ISO 8859-1, which
    // at least keeps every ASCII word right.
    if (mToDictionary == kNone || mFromDictionary == kNone) {
        close();
        mToDictionary = ::iconv_open("ISO8859-1", "UTF-8");
        mFromDictionary = ::iconv_open("UTF-8", "ISO8859-1");
    }
}

DictionaryEncoding::~DictionaryEncoding()
{
    close();
}

void DictionaryEncoding::close()
{
    for (const iconv_t converter : {mToDictionary, mFromDictionary})
        if (converter != kNone)
            ::iconv_close(converter);
    mToDictionary = mFromDictionary = kNone;
}

std::optional<QByteArray> DictionaryEncoding::encode(const QString& word) const
{
    if (mToDictionary == kNone)
        return word.toUtf8();
    return convert(mToDictionary, word.toUtf8());
}

QString DictionaryEncoding::decode(const std::string& word) const
{
    const QByteArray bytes = QByteArray::fromStdString(word);
    if (mFromDictionary == kNone)
        return QString::fromUtf8(bytes);
    return QString::fromUtf8(convert(mFromDictionary, bytes).value_or(QByteArray()));
}
