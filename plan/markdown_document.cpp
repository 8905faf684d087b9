#include "plan/markdown_document.h"

#include <QStringList>

#include <algorithm>
#include <md4c.h>
#include <utility>

namespace MarkdownDocument {

namespace {

class Reader {
public:
    ImportedDocument document;

    static int enterBlock(MD_BLOCKTYPE type, void* detail, void* self)
    {
        static_cast<Reader*>(self)->enter(type, detail);
        return 0;
    }
    static int leaveBlock(MD_BLOCKTYPE type, void*, void* self)
    {
        static_cast<Reader*>(self)->leave(type);
        return 0;
    }
    static int enterSpan(MD_SPANTYPE type, void*, void* self)
    {
        static_cast<Reader*>(self)->mStrong += type == MD_SPAN_STRONG;
        return 0;
    }
    static int leaveSpan(MD_SPANTYPE type, void*, void* self)
    {
        static_cast<Reader*>(self)->mStrong -= type == MD_SPAN_STRONG;
        return 0;
    }
    static int text(MD_TEXTTYPE type, const MD_CHAR* text, MD_SIZE size, void* self)
    {
        static_cast<Reader*>(self)->add(type, QString::fromUtf8(text, size));
        return 0;
    }

    // The lone top-level heading that opens a document with deeper ones
    // is its title.
    void markTitle()
    {
        QList<DocumentBlock>& blocks = document.blocks;
        const auto isTopHeading = [](const DocumentBlock& block) {
            return block.kind == DocumentBlock::Kind::Heading && block.level == 1;
        };
        if (blocks.isEmpty() || !isTopHeading(blocks.first())
            || std::count_if(blocks.begin(), blocks.end(), isTopHeading) != 1)
            return;
        blocks.first() = DocumentBlock{DocumentBlock::Kind::Paragraph, blocks.first().text, 0, false, true};
    }

private:
    void enter(MD_BLOCKTYPE type, void* detail)
    {
        switch (type) {
        case MD_BLOCK_UL:
        case MD_BLOCK_OL: ++mListDepth; break;
        case MD_BLOCK_H: begin(DocumentBlock::Kind::Heading, static_cast<MD_BLOCK_H_DETAIL*>(detail)->level); break;
        case MD_BLOCK_P:
            // A list item's paragraph is the item.
            if (!mInItem && !mInRow)
                begin(DocumentBlock::Kind::Paragraph, 0);
            break;
        case MD_BLOCK_LI:
            mInItem = true;
            begin(DocumentBlock::Kind::ListItem, mListDepth);
            break;
        case MD_BLOCK_CODE: begin(DocumentBlock::Kind::Paragraph, 0); break;
        case MD_BLOCK_TABLE: mTableStarts = true; break;
        case MD_BLOCK_TR:
            mInRow = true;
            mCells.clear();
            break;
        case MD_BLOCK_TH:
        case MD_BLOCK_TD: mCells << QString(); break;
        default: break;
        }
    }

    void leave(MD_BLOCKTYPE type)
    {
        switch (type) {
        case MD_BLOCK_UL:
        case MD_BLOCK_OL: --mListDepth; break;
        case MD_BLOCK_H:
        case MD_BLOCK_CODE: end(); break;
        case MD_BLOCK_P:
            if (!mInItem && !mInRow)
                end();
            break;
        case MD_BLOCK_LI:
            end();
            mInItem = false;
            break;
        case MD_BLOCK_TR:
            mInRow = false;
            while (!mCells.isEmpty() && mCells.last().trimmed().isEmpty())
                mCells.removeLast();
            if (!mCells.isEmpty()) {
                DocumentBlock row{DocumentBlock::Kind::TableRow, mCells.join(QLatin1Char('\t'))};
                row.startsTable = std::exchange(mTableStarts, false);
                document.blocks << row;
            }
            break;
        default: break;
        }
    }

    void begin(DocumentBlock::Kind kind, int level)
    {
        // An item holding a nested list ends where the nested list starts.
        if (mOpen)
            end();
        mOpen = true;
        mBlock = DocumentBlock{kind, {}, level};
        mAnyText = false;
        mAllStrong = true;
    }

    void end()
    {
        if (!mOpen)
            return;
        mOpen = false;
        mBlock.bold = mAnyText && mAllStrong;
        if (!mBlock.text.trimmed().isEmpty())
            document.blocks << mBlock;
    }

    void add(MD_TEXTTYPE type, QString text)
    {
        if (type == MD_TEXT_HTML)
            return;
        if (type == MD_TEXT_SOFTBR || type == MD_TEXT_BR || text == QLatin1String("\n"))
            text = QStringLiteral(" ");
        else if (type == MD_TEXT_NULLCHAR)
            text = QString(QChar::ReplacementCharacter);
        if (mInRow && !mCells.isEmpty()) {
            mCells.last() += text.replace(QLatin1Char('\t'), QLatin1Char(' '));
            return;
        }
        if (!mOpen)  // text of an item after its nested list
            begin(DocumentBlock::Kind::ListItem, mListDepth);
        mBlock.text += type == MD_TEXT_CODE ? QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')) : text;
        if (!text.trimmed().isEmpty()) {
            mAnyText = true;
            mAllStrong = mAllStrong && mStrong > 0;
        }
    }

    int mListDepth = 0;
    int mStrong = 0;
    bool mInItem = false;
    bool mInRow = false;
    // Whether the next row read is a table's first.
    bool mTableStarts = false;
    bool mOpen = false;
    bool mAnyText = false;
    bool mAllStrong = true;
    DocumentBlock mBlock;
    QStringList mCells;
};

}  // namespace

ImportedDocument read(const QByteArray& markdown)
{
    Reader reader;
    MD_PARSER parser{};
    parser.flags = MD_FLAG_TABLES | MD_FLAG_STRIKETHROUGH;
    parser.enter_block = &Reader::enterBlock;
    parser.leave_block = &Reader::leaveBlock;
    parser.enter_span = &Reader::enterSpan;
    parser.leave_span = &Reader::leaveSpan;
    parser.text = &Reader::text;
    md_parse(markdown.constData(), static_cast<MD_SIZE>(markdown.size()), &parser, &reader);
    reader.markTitle();
    return reader.document;
}

}  // namespace MarkdownDocument
