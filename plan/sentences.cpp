#include "plan/sentences.h"

#include "shell/failure.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QTextBoundaryFinder>

namespace Sentences {

namespace {

// Every language's abbreviations, folded to lower case.
QStringList readAbbreviations()
{
    QFile file(QStringLiteral(":/import/abbreviations.json"));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The abbreviations the import reads sentences with are missing."));
    const QJsonObject languages = QJsonDocument::fromJson(file.readAll()).object();
    QStringList all;
    for (auto language = languages.begin(); language != languages.end(); ++language)
        for (const QVariant& abbreviation : language.value().toArray().toVariantList())
            all << abbreviation.toString().toCaseFolded();
    return all;
}

const QStringList& abbreviations()
{
    static const QStringList all = readAbbreviations();
    return all;
}

// Whether the text, a sentence as the boundaries cut it, ends in an
// abbreviation or an initial ("J.") rather than a sentence's full stop.
bool endsInAbbreviation(const QString& text)
{
    const QString folded = text.trimmed().toCaseFolded();
    if (!folded.endsWith(QLatin1Char('.')))
        return false;
    const qsizetype wordStart = folded.lastIndexOf(QLatin1Char(' ')) + 1;
    if (folded.size() - wordStart == 2 && folded.at(wordStart).isLetter())
        return true;
    for (const QString& abbreviation : abbreviations())
        if (folded.endsWith(abbreviation)
            && (folded.size() == abbreviation.size() || !folded.at(folded.size() - abbreviation.size() - 1).isLetter()))
            return true;
    return false;
}

}  // namespace

QString first(const QString& paragraph)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, paragraph);
    qsizetype end = finder.toNextBoundary();
    while (end > 0 && end < paragraph.size() && endsInAbbreviation(paragraph.first(end)))
        end = finder.toNextBoundary();
    if (end <= 0)
        return paragraph.trimmed();
    return paragraph.first(end).trimmed();
}

}  // namespace Sentences
