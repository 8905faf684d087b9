#include "shell/json_settings_format.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringEncoder>

namespace JsonSettingsFormat {

namespace {

// A key as one step of an entry's path: "/" and the escape character
// itself are escaped.
QString pathStep(const QString& key)
{
    if (!key.contains(QLatin1Char('%')) && !key.contains(QLatin1Char('/')))
        return key;
    QString step = key;
    return step.replace(QLatin1Char('%'), QLatin1String("%25")).replace(QLatin1Char('/'), QLatin1String("%2F"));
}

bool isEmptyObject(const QVariant& value)
{
    return value.typeId() == QMetaType::QVariantMap && value.toMap().isEmpty();
}

// An object's entries; an empty object is an entry of its own, so that it
// is written back.
void readObject(const QJsonObject& object, const QString& prefix, SettingsMap& map)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString path = prefix + pathStep(it.key());
        if (it->isObject() && !it->toObject().isEmpty())
            readObject(it->toObject(), path + QLatin1Char('/'), map);
        else
            map.insert(path, it->toVariant());
    }
}

// A JSON string: the text in UTF-8, with quotes, backslashes and control
// characters escaped. Written straight into the output, made large enough
// for the worst case first: a plain ASCII character is a byte of its own,
// runs of other characters go through the UTF-8 encoder.
void appendString(QByteArray& out, QStringView text)
{
    static const char* const kHex = "0123456789abcdef";
    QStringEncoder toUtf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const qsizetype at = out.size();
    // At most six bytes a character (an escape, or three bytes of UTF-8) and the quotes.
    out.resize(at + 6 * text.size() + 2);
    char* next = out.data() + at;
    *next++ = '"';
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80) {
            qsizetype end = i + 1;
            while (end < text.size() && text[end].unicode() >= 0x80)
                ++end;
            next = toUtf8.appendToBuffer(next, text.sliced(i, end - i));
            i = end;
            continue;
        }
        ++i;
        if (c >= 0x20 && c != u'"' && c != u'\\') {
            *next++ = static_cast<char>(c);
            continue;
        }
        *next++ = '\\';
        switch (c) {
        case u'"': *next++ = '"'; break;
        case u'\\': *next++ = '\\'; break;
        case u'\n': *next++ = 'n'; break;
        case u'\r': *next++ = 'r'; break;
        case u'\t': *next++ = 't'; break;
        default:
            for (const char escaped : {'u', '0', '0', kHex[c >> 4], kHex[c & 0xf]})
                *next++ = escaped;
        }
    }
    *next++ = '"';
    out.truncate(next - out.constData());
}

// A step of a path written as the JSON key it stands for.
void appendKey(QByteArray& out, QStringView step)
{
    if (!step.contains(QLatin1Char('%'))) {
        appendString(out, step);
        return;
    }
    appendString(out, step.toString()
                          .replace(QLatin1String("%2F"), QLatin1String("/"))
                          .replace(QLatin1String("%25"), QLatin1String("%")));
}

void appendValue(QByteArray& out, const QString& path, const QVariant& value, EncodedStrings& encoded)
{
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        EncodedString& known = encoded[path];
        if (known.value != text || known.json.isEmpty()) {
            known.value = text;
            // The room stays: the value being typed is encoded again at the
            // next keystroke.
            known.json.truncate(0);
            appendString(known.json, text);
        }
        out += known.json;
        return;
    }
    // Numbers, truth values, lists: as the JSON library writes them.
    const QByteArray wrapped = QJsonDocument(QJsonArray{QJsonValue::fromVariant(value)}).toJson(QJsonDocument::Compact);
    out += wrapped.mid(1, wrapped.size() - 2);
}

// Whether entries were added under the empty object at it since: they follow
// it, though not always at once ("A-x" sorts between "A" and "A/x").
bool hasEntriesUnder(SettingsMap::const_iterator it, SettingsMap::const_iterator end)
{
    const QString group = it.key() + QLatin1Char('/');
    for (auto next = std::next(it); next != end && next.key().startsWith(it.key()); ++next)
        if (next.key().startsWith(group))
            return true;
    return false;
}

// The entries whose paths start with prefix, as an object indented by depth
// levels; each group's entries lie together, as the map keeps them sorted.
void appendObject(QByteArray& out, SettingsMap::const_iterator begin, SettingsMap::const_iterator end, qsizetype prefix,
                  int depth, EncodedStrings& encoded)
{
    const QByteArray indent((depth + 1) * 4, ' ');
    out += "{\n";
    for (auto it = begin; it != end;) {
        const QStringView rest = QStringView(it.key()).mid(prefix);
        const qsizetype slash = rest.indexOf(QLatin1Char('/'));
        // An empty object that entries were added to since is written as
        // their group.
        if (slash < 0 && isEmptyObject(it.value()) && hasEntriesUnder(it, end)) {
            ++it;
            continue;
        }
        out += indent;
        if (slash < 0) {
            appendKey(out, rest);
            out += ": ";
            appendValue(out, it.key(), it.value(), encoded);
            ++it;
        } else {
            const QStringView group = rest.left(slash + 1);
            auto groupEnd = it;
            while (groupEnd != end && QStringView(groupEnd.key()).mid(prefix).startsWith(group))
                ++groupEnd;
            appendKey(out, group.chopped(1));
            out += ": ";
            appendObject(out, it, groupEnd, prefix + group.size(), depth + 1, encoded);
            it = groupEnd;
        }
        out += it == end ? "\n" : ",\n";
    }
    out += QByteArray(depth * 4, ' ') + '}';
}

// Reads a JSON text from its start for as long as it is whole; each value
// that ends before the damage is handed to the map under its group path.
class SalvageReader {
public:
    SalvageReader(const QByteArray& text, SettingsMap& map) : mText(text), mMap(map) {}

    void readDocument()
    {
        skipBlanks();
        if (take('{'))
            readMembers(QString());
    }

private:
    // Returns false where the text stops being whole.
    bool readMembers(const QString& prefix)
    {
        for (;;) {
            skipBlanks();
            if (take('}'))
                return true;
            QByteArray keyText;
            if (!readString(keyText))
                return false;
            skipBlanks();
            if (!take(':'))
                return false;
            skipBlanks();
            const QString key = prefix + pathStep(decode(keyText).toString());
            if (take('{')) {
                skipBlanks();
                if (take('}'))
                    mMap.insert(key, QVariantMap());
                else if (!readMembers(key + QLatin1Char('/')))
                    return false;
            } else {
                QByteArray valueText;
                if (!readValue(valueText))
                    return false;
                mMap.insert(key, decode(valueText).toVariant());
            }
            skipBlanks();
            if (!take(','))
                return take('}');
        }
    }

    // A string, or any other value that is followed by what may follow it.
    bool readValue(QByteArray& value)
    {
        const qsizetype start = mAt;
        if (mAt < mText.size() && mText[mAt] == '"')
            return readString(value);
        int depth = 0;
        while (mAt < mText.size()) {
            const char c = mText[mAt];
            if (c == '"') {
                QByteArray ignored;
                if (!readString(ignored))
                    return false;
                continue;
            }
            if (c == '[')
                ++depth;
            else if (c == ']')
                --depth;
            else if (depth == 0 && (c == ',' || c == '}'))
                break;
            ++mAt;
        }
        if (mAt >= mText.size())
            return false;
        value = mText.mid(start, mAt - start).trimmed();
        return !decode(value).isUndefined();
    }

    bool readString(QByteArray& value)
    {
        if (!take('"'))
            return false;
        const qsizetype start = mAt - 1;
        while (mAt < mText.size()) {
            const char c = mText[mAt++];
            if (c == '\\')
                ++mAt;
            else if (c == '"') {
                value = mText.mid(start, mAt - start);
                return true;
            }
        }
        return false;
    }

    static QJsonValue decode(const QByteArray& value)
    {
        QJsonParseError error;
        const QJsonDocument wrapped = QJsonDocument::fromJson('[' + value + ']', &error);
        if (error.error != QJsonParseError::NoError || wrapped.array().size() != 1)
            return QJsonValue(QJsonValue::Undefined);
        return wrapped.array().first();
    }

    void skipBlanks()
    {
        while (mAt < mText.size() && QByteArrayView(" \t\r\n").contains(mText[mAt]))
            ++mAt;
    }

    bool take(char c)
    {
        if (mAt >= mText.size() || mText[mAt] != c)
            return false;
        ++mAt;
        return true;
    }

    const QByteArray& mText;
    SettingsMap& mMap;
    qsizetype mAt = 0;
};

}  // namespace

QString entryPath(const QString& group, const QString& key)
{
    return pathStep(group) + QLatin1Char('/') + pathStep(key);
}

bool parse(const QByteArray& text, SettingsMap& map)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    readObject(document.object(), QString(), map);
    return true;
}

QByteArray TextWriter::text(const SettingsMap& map)
{
    // Room for the whole text at once: about the size of the last one.
    QByteArray text;
    text.reserve(mLastSize + 1024);
    appendObject(text, map.cbegin(), map.cend(), 0, 0, mEncoded);
    text += '\n';
    mLastSize = text.size();
    return text;
}

SettingsMap salvage(const QByteArray& damaged)
{
    SettingsMap map;
    SalvageReader(damaged, map).readDocument();
    return map;
}

}  // namespace JsonSettingsFormat
