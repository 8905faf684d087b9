#include "json_settings_format.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace JsonSettingsFormat {

namespace {

void readObject(const QJsonObject& object, const QString& prefix, SettingsMap& map)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it->isObject())
            readObject(it->toObject(), prefix + it.key() + QLatin1Char('/'), map);
        else
            map.insert(prefix + it.key(), it->toVariant());
    }
}


void insertPath(QJsonObject& object, QStringView path, const QVariant& value)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        object.insert(path, QJsonValue::fromVariant(value));
        return;
    }
    const QString group = path.left(slash).toString();
    QJsonObject child = object.value(group).toObject();
    insertPath(child, path.mid(slash + 1), value);
    object.insert(group, child);
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
            const QString key = prefix + decode(keyText).toString();
            if (take('{')) {
                if (!readMembers(key + QLatin1Char('/')))
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

bool parse(const QByteArray& text, SettingsMap& map)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return false;
    readObject(document.object(), QString(), map);
    return true;
}

QByteArray text(const SettingsMap& map)
{
    QJsonObject root;
    for (auto it = map.begin(); it != map.end(); ++it)
        insertPath(root, it.key(), it.value());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

SettingsMap salvage(const QByteArray& damaged)
{
    SettingsMap map;
    SalvageReader(damaged, map).readDocument();
    return map;
}

}  // namespace JsonSettingsFormat
