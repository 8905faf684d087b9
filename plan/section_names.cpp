#include "plan/section_names.h"

#include "plan/plan_sections.h"
#include "shell/failure.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QRegularExpression>

namespace SectionNames {

namespace {

struct Name {
    QString words;  // as comparable() gives them
    int section;
};

QList<Name> readNames()
{
    QFile file(QStringLiteral(":/import/section_names.json"));
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The section names the import matches headings against are missing."));
    const QJsonArray sections = QJsonDocument::fromJson(file.readAll()).object().value("sections").toArray();
    const QList<PlanSection> all = allSections();
    QList<Name> names;
    for (const QJsonValue& entry : sections) {
        const QJsonObject object = entry.toObject();
        const QString title = object.value("section").toString();
        const auto section =
            std::find_if(all.begin(), all.end(), [&](const PlanSection& s) { return s.title() == title; });
        if (section == all.end())
            throw Failure(QStringLiteral("The section names name a section the plan does not have: %1.").arg(title));
        const int index = static_cast<int>(section - all.begin());
        names << Name{comparable(title), index};
        for (auto language = object.begin(); language != object.end(); ++language)
            if (language.value().isArray())
                for (const QJsonValue& name : language.value().toArray())
                    names << Name{comparable(name.toString()), index};
    }
    return names;
}

const QList<Name>& names()
{
    static const QList<Name> all = readNames();
    return all;
}

}  // namespace

QString comparable(const QString& heading)
{
    // Numbering in front: "3.2", "3.2.", "IV.", "a)", "§ 4".
    static const QRegularExpression numbering(
        QStringLiteral("^\\s*(?:§\\s*)?(?:(?:\\d+|[ivxlc]+|[a-z])[.)]\\s*|\\d+\\s+)*"),
        QRegularExpression::CaseInsensitiveOption);
    QString text = heading;
    text.remove(numbering);
    text.replace(QLatin1Char('&'), QStringLiteral(" and "));
    QString words;
    for (const QChar c : text.normalized(QString::NormalizationForm_KD).toCaseFolded()) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        words += c.isLetterOrNumber() ? c : QLatin1Char(' ');
    }
    return words.simplified();
}

int sectionOf(const QString& heading)
{
    const QString words = QLatin1Char(' ') + comparable(heading) + QLatin1Char(' ');
    int best = -1;
    qsizetype bestLength = 0;
    qsizetype bestAt = 0;
    for (const Name& name : names()) {
        if (name.words.isEmpty())
            continue;
        const qsizetype at = words.indexOf(QLatin1Char(' ') + name.words + QLatin1Char(' '));
        if (at < 0)
            continue;
        if (name.words.size() > bestLength || (name.words.size() == bestLength && at < bestAt)) {
            best = name.section;
            bestLength = name.words.size();
            bestAt = at;
        }
    }
    return best;
}

}  // namespace SectionNames
