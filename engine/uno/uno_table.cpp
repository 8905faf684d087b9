#include "engine/uno/uno_table.h"

#include "engine/uno/uno_values.h"

#include <algorithm>
#include <com/sun/star/awt/FontWeight.hpp>
#include <com/sun/star/awt/Rectangle.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/drawing/FillStyle.hpp>
#include <com/sun/star/drawing/TextVerticalAdjust.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/style/ParagraphAdjust.hpp>
#include <com/sun/star/table/BorderLine2.hpp>
#include <com/sun/star/table/XTable.hpp>
#include <com/sun/star/table/XTableColumns.hpp>
#include <com/sun/star/table/XTableRows.hpp>
#include <com/sun/star/text/XText.hpp>

using namespace css;
using namespace css::uno;

namespace {

constexpr float kTextSize = 18.0f;
constexpr float kSmallestTextSize = 12.0f;
constexpr sal_Int32 kRuleColour = 0xC8D0D4;
// A thin rule: three quarters of a point, in hundredths of a millimetre.
constexpr sal_Int16 kRuleWidth = 26;
// No row is lower than a line of the smallest text with its cell's
// margins: more rows than this many to the area are never needed.
constexpr sal_Int32 kLowestRow = 700;

Reference<beans::XPropertySet> properties(const Any& object)
{
    return Reference<beans::XPropertySet>(object, UNO_QUERY_THROW);
}

table::BorderLine2 rule(bool shown)
{
    table::BorderLine2 line;
    line.Color = kRuleColour;
    line.OuterLineWidth = shown ? kRuleWidth : 0;
    line.LineWidth = shown ? kRuleWidth : 0;
    return line;
}

class TableOnSlide {
public:
    TableOnSlide(Reference<drawing::XShape> shape, const TableData& data, const TableLook& look)
        : mShape(std::move(shape)),
          mTable(properties(Any(mShape))->getPropertyValue("Model"), UNO_QUERY_THROW),
          mData(data),
          mLook(look)
    {
    }

    // The header and the first rows of the data, as many as are given.
    void fill(int rows)
    {
        const sal_Int32 columns = static_cast<sal_Int32>(mData.header.size());
        if (mTable->getColumnCount() < columns)
            mTable->getColumns()->insertByIndex(mTable->getColumnCount(), columns - mTable->getColumnCount());
        if (mTable->getRowCount() < rows + 1)
            mTable->getRows()->insertByIndex(mTable->getRowCount(), rows + 1 - mTable->getRowCount());
        for (int row = 0; row <= rows; ++row)
            fillRow(row);
    }

    // Column widths share the width out by the length of each column's
    // longest cell, within bounds, so that no column is starved.
    void setColumnWidths(sal_Int32 width)
    {
        std::vector<double> weights;
        for (qsizetype c = 0; c < mData.header.size(); ++c) {
            qsizetype longest = mData.header.at(c).size();
            for (const QStringList& row : mData.rows)
                longest = std::max(longest, row.at(c).size());
            weights.push_back(std::clamp<double>(static_cast<double>(longest), 4, 30));
        }
        double total = 0;
        for (const double weight : weights)
            total += weight;
        const Reference<table::XTableColumns> columns = mTable->getColumns();
        for (size_t c = 0; c < weights.size(); ++c)
            properties(columns->getByIndex(static_cast<sal_Int32>(c)))
                ->setPropertyValue("Width", Any(static_cast<sal_Int32>(width * weights.at(c) / total)));
    }

    // The rows are laid out again only when the shape's size is set, and
    // stretched to the height set: set as low as can be, the rows take the
    // height their text needs. The shape's size then still tells the size
    // set, its bounding rectangle the height the rows take.
    sal_Int32 laidOutHeight(sal_Int32 width)
    {
        mShape->setSize(awt::Size(width, 1));
        awt::Rectangle bounds;
        properties(Any(mShape))->getPropertyValue("BoundRect") >>= bounds;
        return bounds.Height;
    }

    int rows() const { return static_cast<int>(mTable->getRowCount()) - 1; }

    void fillRow(int row)
    {
        // A row is as low as its text lets it be.
        properties(mTable->getRows()->getByIndex(row))->setPropertyValue("Height", Any(sal_Int32(1)));
        const QStringList& cells = row == 0 ? mData.header : mData.rows.at(row - 1);
        for (qsizetype c = 0; c < cells.size(); ++c) {
            const Reference<XInterface> cell = mTable->getCellByPosition(static_cast<sal_Int32>(c), row);
            Reference<text::XText>(cell, UNO_QUERY_THROW)->setString(toUno(cells.at(c)));
            style(cell, row == 0, c < mData.numberColumns.size() && mData.numberColumns.at(c));
        }
    }

    // How many rows below the header fit the height, as the rows were
    // last laid out.
    int rowsWithin(sal_Int32 height)
    {
        const Reference<table::XTableRows> rows = mTable->getRows();
        sal_Int32 taken = 0;
        for (sal_Int32 row = 0; row < rows->getCount(); ++row) {
            sal_Int32 rowHeight = 0;
            properties(rows->getByIndex(row))->getPropertyValue("Height") >>= rowHeight;
            taken += rowHeight;
            if (taken > height)
                return std::max(row - 1, 0);
        }
        return rows->getCount() - 1;
    }

    // Takes off the rows below the first ones given.
    void keepRows(int rows)
    {
        if (rows + 1 < mTable->getRowCount())
            mTable->getRows()->removeByIndex(rows + 1, mTable->getRowCount() - rows - 1);
    }

    void setTextSize(float size)
    {
        mTextSize = size;
        for (sal_Int32 row = 0; row < mTable->getRowCount(); ++row)
            for (sal_Int32 c = 0; c < mTable->getColumnCount(); ++c)
                properties(Any(mTable->getCellByPosition(c, row)))->setPropertyValue("CharHeight", Any(size));
    }

    float textSize() const { return mTextSize; }

private:
    // The header in the deck's first colour, the rows on the slide's own
    // background; a thin rule under every row.
    void style(const Reference<XInterface>& cell, bool header, bool number)
    {
        const rtl::OUString names[] = {"BottomBorder", "CharColor",   "CharFontName",       "CharHeight",
                                       "CharWeight",   "FillColor",   "FillStyle",          "LeftBorder",
                                       "ParaAdjust",   "RightBorder", "TextVerticalAdjust", "TopBorder"};
        const Any values[] = {
            Any(rule(true)),
            Any(header ? mLook.headerTextColour : mLook.textColour),
            Any(mLook.fontName),
            Any(mTextSize),
            Any(header ? awt::FontWeight::BOLD : awt::FontWeight::NORMAL),
            Any(mLook.headerColour),
            Any(header ? drawing::FillStyle_SOLID : drawing::FillStyle_NONE),
            Any(rule(false)),
            Any(static_cast<sal_Int16>(number ? style::ParagraphAdjust_RIGHT : style::ParagraphAdjust_LEFT)),
            Any(rule(false)),
            Any(drawing::TextVerticalAdjust_CENTER),
            Any(rule(header))};
        Reference<beans::XMultiPropertySet>(cell, UNO_QUERY_THROW)
            ->setPropertyValues(Sequence<rtl::OUString>(names, std::size(names)),
                                Sequence<Any>(values, std::size(values)));
    }

    Reference<drawing::XShape> mShape;
    Reference<table::XTable> mTable;
    const TableData& mData;
    const TableLook& mLook;
    float mTextSize = kTextSize;
};

}  // namespace

TableFit addTable(const Reference<lang::XMultiServiceFactory>& document, const Reference<drawing::XDrawPage>& slide,
                  const TableData& data, const TableLook& look, awt::Point position, awt::Size size)
{
    const Reference<drawing::XShape> shape(document->createInstance("com.sun.star.drawing.TableShape"),
                                           UNO_QUERY_THROW);
    slide->add(shape);
    shape->setPosition(position);
    shape->setSize(size);
    TableOnSlide table(shape, data, look);
    const int given = static_cast<int>(data.rows.size());
    table.fill(std::min(given, static_cast<int>(size.Height / kLowestRow)));
    table.setColumnWidths(size.Width);
    sal_Int32 height = table.laidOutHeight(size.Width);
    // A header and one row that do not fit are drawn smaller.
    while (height > size.Height && table.rowsWithin(size.Height) == 0 && table.textSize() > kSmallestTextSize) {
        table.setTextSize(table.textSize() - 1);
        height = table.laidOutHeight(size.Width);
    }
    if (height > size.Height) {
        table.keepRows(std::max(table.rowsWithin(size.Height), 1));
        height = table.laidOutHeight(size.Width);
    }
    // The shape as high as its rows.
    shape->setSize(awt::Size(size.Width, height));
    return TableFit{table.rows(), table.textSize()};
}

// A table does not name its kind among the services it supports; its type
// says it.
bool isTable(const Reference<drawing::XShape>& shape)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return shape->getShapeType() == "com.sun.star.drawing.TableShape";
#pragma GCC diagnostic pop
}

QStringList spokenRows(const Reference<drawing::XShape>& shape)
{
    const Reference<table::XTable> table(properties(Any(shape))->getPropertyValue("Model"), UNO_QUERY_THROW);
    QStringList rows;
    for (sal_Int32 row = 0; row < table->getRowCount(); ++row) {
        QStringList cells;
        for (sal_Int32 column = 0; column < table->getColumnCount(); ++column) {
            const QString text =
                fromUno(Reference<text::XText>(table->getCellByPosition(column, row), UNO_QUERY_THROW)->getString())
                    .simplified();
            if (!text.isEmpty())
                cells << text;
        }
        if (!cells.isEmpty())
            rows << cells.join(QStringLiteral(", "));
    }
    return rows;
}
