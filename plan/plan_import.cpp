#include "plan/plan_import.h"

#include "plan/plan_keys.h"
#include "plan/plan_sections.h"
#include "plan/section_names.h"
#include "plan/sentences.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace PlanImport {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kBullet = QStringLiteral("\u2022 ");
const QString kNotesLine = QStringLiteral("Notes: ");
const QString kTableLine = QStringLiteral("Table:");
// Invisible, and no space: a line it starts reads as written but matches
// none of the plan's forms.
const QChar kWordJoiner(0x2060);

bool isShortLine(const DocumentBlock& block)
{
    return block.kind == DocumentBlock::Kind::Paragraph && !block.title && !block.text.trimmed().isEmpty()
           && wordCount(block.text) <= kMostWordsInABoldHeading;
}

bool isBoldHeading(const DocumentBlock& block)
{
    return isShortLine(block) && block.bold;
}

// A short line that names a section and ends no sentence: "Mission",
// "Our team:".
bool isNamingLine(const DocumentBlock& block)
{
    const QString text = block.text.trimmed();
    return isShortLine(block) && !QStringLiteral(".!?,;").contains(text.back()) && SectionNames::sectionOf(text) >= 0;
}

// A heading above the one being read: its level and where its text goes.
struct Above {
    int level;
    int section;
};

// Where text under the headings above goes: with the nearest of them (which
// took its own from the nearest above it that names a section), or nowhere.
int placedUnder(const QList<Above>& above)
{
    return above.isEmpty() ? kUnplaced : above.last().section;
}

// The lines a block of a placed part becomes.
QStringList linesOf(const DocumentBlock& block, Prose prose)
{
    const QString text = block.text.simplified();
    if (text.isEmpty())
        return {};
    switch (block.kind) {
    case DocumentBlock::Kind::ListItem: return {kBullet + text};
    case DocumentBlock::Kind::TableRow: return {block.text.trimmed()};
    case DocumentBlock::Kind::Heading:
    case DocumentBlock::Kind::Paragraph: break;
    }
    if (prose == Prose::WholeParagraphs || wordCount(text) <= kMostWordsKeptWhole)
        return {asTextLine(text)};
    const QString sentence = Sentences::first(text);
    if (sentence == text)
        return {asTextLine(text)};
    return {asTextLine(sentence), kNotesLine + text};
}

const QRegularExpression& labelledCompany()
{
    static const QRegularExpression labelled(
        QStringLiteral("^(?:company(?: name)?|firma|unternehmen|entreprise|société|empresa|compañía)\\s*:\\s*(.+)$"),
        QRegularExpression::CaseInsensitiveOption);
    return labelled;
}

// The block of the text before the first heading that names the company,
// or -1.
int companyLine(const ImportedDocument& document, const QList<Part>& parts)
{
    if (parts.isEmpty() || !parts.first().heading.isEmpty())
        return -1;
    static const QRegularExpression legalForm(
        QStringLiteral("\\s(?:inc|llc|ltd|limited|corp|corporation|co|plc|llp|lp|gmbh|ag|kg|ohg|ug(?: "
                       "\\(haftungsbeschränkt\\))?|as|asa|ab|oy|oyj|aps|a/s|bv|b\\.v|nv|n\\.v|sa|s\\.a|sas|sarl|s\\.l|"
                       "sl|srl|s\\.r\\.l|se|pty ltd)\\.?$"),
        QRegularExpression::CaseInsensitiveOption);
    const Part& front = parts.first();
    for (int i = front.firstBlock; i < front.endBlock; ++i) {
        const QString text = document.blocks.at(i).text.simplified();
        if (labelledCompany().match(text).hasMatch() || (wordCount(text) <= 8 && legalForm.match(text).hasMatch()))
            return i;
    }
    return -1;
}

}  // namespace

int wordCount(const QString& text)
{
    return static_cast<int>(text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString asTextLine(const QString& paragraph)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:-|notes\\s*:|chart\\s*(?:\\([^)]*\\))?\\s*:|table\\s*:)"),
        QRegularExpression::CaseInsensitiveOption);
    return form.match(paragraph).hasMatch() ? kWordJoiner + paragraph : paragraph;
}

QList<Part> parts(const ImportedDocument& document)
{
    const QList<DocumentBlock>& blocks = document.blocks;
    const bool hasHeadings = std::any_of(blocks.begin(), blocks.end(), [](const DocumentBlock& block) {
        return block.kind == DocumentBlock::Kind::Heading && !block.text.trimmed().isEmpty();
    });
    // Without headings, short bold lines stand for them; without those,
    // short lines that name a section (as plain text has them); without
    // those either, each paragraph is a part of its own, for the user to
    // place one by one or a range at once.
    const bool hasBoldHeadings = !hasHeadings && std::any_of(blocks.begin(), blocks.end(), isBoldHeading);
    const bool hasNamingLines =
        !hasHeadings && !hasBoldHeadings && std::any_of(blocks.begin(), blocks.end(), isNamingLine);
    const auto isHeading = [&](const DocumentBlock& block) {
        if (hasHeadings)
            return block.kind == DocumentBlock::Kind::Heading && !block.text.trimmed().isEmpty();
        return hasBoldHeadings ? isBoldHeading(block) : hasNamingLines && isNamingLine(block);
    };
    if (!hasHeadings && !hasBoldHeadings && !hasNamingLines) {
        QList<Part> paragraphs;
        for (int i = 0; i < blocks.size(); ++i)
            if (!blocks.at(i).text.trimmed().isEmpty())
                paragraphs << Part{QString(), 0, i, i + 1, kUnplaced};
        return paragraphs;
    }
    QList<Part> found;
    QList<Above> above;
    Part part;
    for (int i = 0; i <= blocks.size(); ++i) {
        if (i < blocks.size() && !isHeading(blocks.at(i)))
            continue;
        part.endBlock = i;
        if (!part.heading.isEmpty() || part.endBlock > part.firstBlock)
            found << part;
        if (i == blocks.size())
            break;
        const int level = hasHeadings ? std::max(1, blocks.at(i).level) : 1;
        while (!above.isEmpty() && above.last().level >= level)
            above.removeLast();
        const int named = SectionNames::sectionOf(blocks.at(i).text);
        part = Part{blocks.at(i).text.simplified(), level, i + 1, i + 1, named >= 0 ? named : placedUnder(above)};
        above << Above{level, part.section};
    }
    return found;
}

Result sectionTexts(const ImportedDocument& document, const QList<Part>& parts, Prose prose)
{
    Result result;
    const int company = companyLine(document, parts);
    QMap<int, QStringList> lines;
    for (const Part& part : parts) {
        const auto blocks = document.blocks.mid(part.firstBlock, part.endBlock - part.firstBlock);
        if (part.section < 0) {
            // The title's and the company's lines are the plan's too.
            const auto countLeftOut = [&](const QString& text) {
                if (const int words = wordCount(text); words > 0) {
                    ++result.paragraphsLeftOut;
                    result.wordsLeftOut += words;
                }
            };
            countLeftOut(part.heading);
            for (int i = part.firstBlock; i < part.endBlock; ++i)
                if (!document.blocks.at(i).title && i != company)
                    countLeftOut(document.blocks.at(i).text);
            continue;
        }
        QStringList& section = lines[part.section];
        // The section's title stands for the first heading that names it;
        // any other heading stays a line of its own.
        if (!part.heading.isEmpty() && !(section.isEmpty() && SectionNames::sectionOf(part.heading) == part.section))
            section << asTextLine(part.heading);
        for (qsizetype i = 0; i < blocks.size(); ++i) {
            const DocumentBlock& block = blocks.at(i);
            const bool row = block.kind == DocumentBlock::Kind::TableRow;
            // A table's rows go under a "Table:" line, its title left to
            // type, and a blank line ends them.
            if (row && (block.startsTable || i == 0 || blocks.at(i - 1).kind != DocumentBlock::Kind::TableRow))
                section << kTableLine;
            section << linesOf(block, prose);
            if (row
                && (i + 1 == blocks.size() || blocks.at(i + 1).kind != DocumentBlock::Kind::TableRow
                    || blocks.at(i + 1).startsTable))
                section << QString();
        }
    }
    for (auto section = lines.begin(); section != lines.end(); ++section) {
        // The blank line after a table that ends the section goes.
        while (!section.value().isEmpty() && section.value().last().isEmpty())
            section.value().removeLast();
        if (!section.value().isEmpty())
            result.sectionTexts.insert(section.key(), section.value().join(kCrLf));
    }
    return result;
}

QString planTitle(const ImportedDocument& document)
{
    for (const DocumentBlock& block : document.blocks)
        if (block.title && !block.text.simplified().isEmpty())
            return block.text.simplified();
    static const QRegularExpression fileName(
        QStringLiteral("[/\\\\]|\\.(?:docx?|odt|fodt|rtf|html?|txt|md|pdf|dotx?)$|^microsoft word - "),
        QRegularExpression::CaseInsensitiveOption);
    const QString property = document.titleProperty.simplified();
    return fileName.match(property).hasMatch() ? QString() : property;
}

QString companyName(const ImportedDocument& document, const QList<Part>& parts)
{
    const int line = companyLine(document, parts);
    if (line < 0)
        return {};
    const QString text = document.blocks.at(line).text.simplified();
    const QRegularExpressionMatch match = labelledCompany().match(text);
    return match.hasMatch() ? match.captured(1).trimmed() : text;
}

PlanFile::Texts planOf(const ImportedDocument& document, const QList<Part>& parts, const Result& result)
{
    PlanFile::Texts texts;
    for (const QString& key : PlanFile::keys())
        texts.insert(key, QString());
    texts.insert(PlanKeys::companyName, companyName(document, parts));
    texts.insert(PlanKeys::planTitle, planTitle(document));
    const QStringList keys = allSectionKeys();
    for (auto section = result.sectionTexts.begin(); section != result.sectionTexts.end(); ++section)
        texts.insert(keys.at(section.key()), section.value());
    return texts;
}

QString firstWords(const ImportedDocument& document, const Part& part)
{
    for (int i = part.firstBlock; i < part.endBlock; ++i) {
        const QString text = document.blocks.at(i).text.simplified();
        if (text.isEmpty())
            continue;
        return text.size() <= 60 ? text : text.left(text.lastIndexOf(QLatin1Char(' '), 60)) + QStringLiteral("…");
    }
    return {};
}

QStringList report(const ImportedDocument& document, const QList<Part>& parts, const Result& result)
{
    const QList<PlanSection> sections = allSections();
    const bool anyHeading =
        std::any_of(parts.begin(), parts.end(), [](const Part& part) { return !part.heading.isEmpty(); });
    QStringList lines;
    for (const Part& part : parts) {
        const QString heading = !part.heading.isEmpty() ? part.heading
                                : anyHeading            ? QStringLiteral("(before the first heading)")
                                                        : QStringLiteral("\"%1\"").arg(firstWords(document, part));
        lines << QStringLiteral("%1: %2").arg(
            heading, part.section >= 0 ? sections.at(part.section).title() : QStringLiteral("left out"));
    }
    QStringList empty;
    for (int section = 0; section < sections.size(); ++section)
        if (!result.sectionTexts.contains(section))
            empty << sections.at(section).title();
    if (!empty.isEmpty())
        lines << QStringLiteral("Nothing found for: %1.").arg(empty.join(QStringLiteral(", ")));
    if (result.paragraphsLeftOut > 0)
        lines << QStringLiteral("Left out: %1 paragraphs (%2 words).")
                     .arg(result.paragraphsLeftOut)
                     .arg(result.wordsLeftOut);
    return lines;
}

}  // namespace PlanImport
