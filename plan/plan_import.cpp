#include "plan/plan_import.h"

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
// Invisible, and no space: a line it starts reads as written but matches
// none of the plan's forms.
const QChar kWordJoiner(0x2060);

bool isBoldHeading(const DocumentBlock& block)
{
    return block.kind == DocumentBlock::Kind::Paragraph && block.bold && !block.title
           && wordCount(block.text) <= kMostWordsInABoldHeading;
}

// The section of the nearest heading above that has one, or kUnplaced.
struct Above {
    int level;
    int section;
};

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
    case DocumentBlock::Kind::TableRow: return {asTextLine(block.text.trimmed())};
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
    const auto isHeading = [&](const DocumentBlock& block) {
        return hasHeadings ? block.kind == DocumentBlock::Kind::Heading && !block.text.trimmed().isEmpty()
                           : isBoldHeading(block);
    };
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
    QMap<int, QStringList> lines;
    for (const Part& part : parts) {
        const auto blocks = document.blocks.mid(part.firstBlock, part.endBlock - part.firstBlock);
        if (part.section < 0) {
            const auto countLeftOut = [&](const QString& text) {
                if (const int words = wordCount(text); words > 0) {
                    ++result.paragraphsLeftOut;
                    result.wordsLeftOut += words;
                }
            };
            countLeftOut(part.heading);
            for (const DocumentBlock& block : blocks)
                if (!block.title)
                    countLeftOut(block.text);
            continue;
        }
        QStringList& section = lines[part.section];
        // The section's title stands for the first heading that names it;
        // any other heading stays a line of its own.
        if (!part.heading.isEmpty() && !(section.isEmpty() && SectionNames::sectionOf(part.heading) == part.section))
            section << asTextLine(part.heading);
        for (const DocumentBlock& block : blocks)
            section << linesOf(block, prose);
    }
    for (auto section = lines.begin(); section != lines.end(); ++section)
        if (!section.value().isEmpty())
            result.sectionTexts.insert(section.key(), section.value().join(kCrLf));
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
    if (parts.isEmpty() || !parts.first().heading.isEmpty())
        return {};
    static const QRegularExpression labelled(
        QStringLiteral("^(?:company(?: name)?|firma|unternehmen|entreprise|société|empresa|compañía)\\s*:\\s*(.+)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression legalForm(
        QStringLiteral(
            "\\s(?:inc|llc|ltd|limited|corp|corporation|co|plc|llp|lp|gmbh|ag|kg|ohg|ug(?: \\(haftungsbeschränkt\\))?|"
            "as|asa|ab|oy|oyj|aps|a/s|bv|b\\.v|nv|n\\.v|sa|s\\.a|sas|sarl|s\\.l|sl|srl|s\\.r\\.l|se|pty ltd)\\.?$"),
        QRegularExpression::CaseInsensitiveOption);
    const Part& front = parts.first();
    for (int i = front.firstBlock; i < front.endBlock; ++i) {
        const QString text = document.blocks.at(i).text.simplified();
        if (const QRegularExpressionMatch match = labelled.match(text); match.hasMatch())
            return match.captured(1).trimmed();
        if (wordCount(text) <= 8 && legalForm.match(text).hasMatch())
            return text;
    }
    return {};
}

}  // namespace PlanImport
