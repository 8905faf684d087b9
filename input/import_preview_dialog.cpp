#include "input/import_preview_dialog.h"

#include "plan/plan_keys.h"
#include "plan/plan_sections.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <limits>

namespace {

enum Column { Heading, FirstWords, Size, GoesTo };

QString sizeOf(const ImportedDocument& document, const PlanImport::Part& part)
{
    int paragraphs = 0;
    int words = 0;
    for (int i = part.firstBlock; i < part.endBlock; ++i)
        if (const int count = PlanImport::wordCount(document.blocks.at(i).text); count > 0) {
            ++paragraphs;
            words += count;
        }
    return QStringLiteral("%1 %2, %3 %4")
        .arg(paragraphs)
        .arg(paragraphs == 1 ? QStringLiteral("paragraph") : QStringLiteral("paragraphs"))
        .arg(words)
        .arg(words == 1 ? QStringLiteral("word") : QStringLiteral("words"));
}

QString whereShown(int section)
{
    if (section == PlanImport::kUnplaced)
        return QStringLiteral("Not placed: left out");
    if (section == PlanImport::kLeftOut)
        return QStringLiteral("Left out");
    return allSections().at(section).title();
}

// The sections, then "Left out", each with where it sends a part.
void addSectionChoices(QComboBox& choice)
{
    for (int section = 0; section < allSections().size(); ++section)
        choice.addItem(allSections().at(section).title(), section);
    choice.addItem(whereShown(PlanImport::kLeftOut), PlanImport::kLeftOut);
}

// The "Goes to" cell's drop-down (a double click, or F2, opens it): the
// sections and "Left out"; a choice places that part.
class SectionChoice : public QStyledItemDelegate {
public:
    SectionChoice(std::function<void(int row, int section)> place, QObject* parent)
        : QStyledItemDelegate(parent), mPlace(std::move(place))
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* choice = new QComboBox(parent);
        choice->setAccessibleName(QStringLiteral("Goes to"));
        addSectionChoices(*choice);
        return choice;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* choice = static_cast<QComboBox*>(editor);
        choice->setCurrentIndex(std::max(0, choice->findText(index.data().toString())));
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        mPlace(index.row(), static_cast<QComboBox*>(editor)->currentData().toInt());
    }

private:
    std::function<void(int row, int section)> mPlace;
};

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(ImportedDocument document, const QString& documentName, QWidget* parent)
    : QDialog(parent), mDocument(std::move(document)), mParts(PlanImport::parts(mDocument))
{
    setWindowTitle(QStringLiteral("Import %1").arg(documentName));
    resize(760, 560);
    mCompany = new QLineEdit(PlanImport::companyName(mDocument, mParts));
    mCompany->setObjectName(QStringLiteral("importCompany"));
    mTitle = new QLineEdit(PlanImport::planTitle(mDocument));
    mTitle->setObjectName(QStringLiteral("importTitle"));

    mList = new QTableWidget(0, 4);
    mList->setObjectName(QStringLiteral("importParts"));
    mList->setAccessibleName(QStringLiteral("Parts of the document"));
    mList->setHorizontalHeaderLabels(
        {QStringLiteral("Heading"), QStringLiteral("First words"), QStringLiteral("Size"), QStringLiteral("Goes to")});
    mList->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    mList->setItemDelegateForColumn(GoesTo,
                                    new SectionChoice([this](int row, int section) { place(row, section); }, mList));
    mList->setSelectionBehavior(QAbstractItemView::SelectRows);
    mList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    mList->verticalHeader()->hide();
    mList->horizontalHeader()->setSectionResizeMode(FirstWords, QHeaderView::Stretch);
    mList->setWordWrap(false);

    mPlaceIn = new QComboBox;
    mPlaceIn->setObjectName(QStringLiteral("importPlaceIn"));
    mPlaceIn->setAccessibleName(QStringLiteral("The selected parts go to"));
    addSectionChoices(*mPlaceIn);
    auto* place = new QPushButton(QStringLiteral("&Place"));
    place->setObjectName(QStringLiteral("importPlace"));

    mNothingFound = new QLabel;
    mNothingFound->setObjectName(QStringLiteral("importNothingFound"));
    mNothingFound->setWordWrap(true);
    mLeftOut = new QLabel;
    mLeftOut->setObjectName(QStringLiteral("importLeftOut"));
    mLeftOut->setWordWrap(true);

    mFirstSentences =
        new QRadioButton(QStringLiteral("&First sentence of each paragraph on the slide, the paragraph in the notes"));
    mFirstSentences->setObjectName(QStringLiteral("importFirstSentences"));
    mFirstSentences->setChecked(true);
    auto* wholeParagraphs = new QRadioButton(QStringLiteral("&Whole paragraphs on the slides"));
    wholeParagraphs->setObjectName(QStringLiteral("importWholeParagraphs"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Import"));

    auto* names = new QFormLayout;
    names->addRow(QStringLiteral("&Company name:"), mCompany);
    names->addRow(QStringLiteral("Plan &title:"), mTitle);
    auto* placing = new QHBoxLayout;
    auto* placeLabel = new QLabel(QStringLiteral("The selected parts &go to:"));
    placeLabel->setBuddy(mPlaceIn);
    placing->addWidget(placeLabel);
    placing->addWidget(mPlaceIn, 1);
    placing->addWidget(place);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("What %1 becomes. Nothing changes until you import it; the plan as "
                                                "it stands is kept as a snapshot first.")
                                     .arg(documentName)));
    layout->addLayout(names);
    layout->addWidget(mList, 1);
    layout->addLayout(placing);
    layout->addWidget(mNothingFound);
    layout->addWidget(mLeftOut);
    layout->addWidget(mFirstSentences);
    layout->addWidget(wholeParagraphs);
    layout->addWidget(buttons);

    connect(place, &QPushButton::clicked, this, [this] { placeSelected(mPlaceIn->currentData().toInt()); });
    // The choice shows where the part chosen goes; one going nowhere shows
    // "Left out", so that Place never sends it where another part went.
    connect(mList, &QTableWidget::itemSelectionChanged, this, [this] {
        if (const int row = mList->currentRow(); row >= 0)
            mPlaceIn->setCurrentIndex(
                mPlaceIn->findData(mParts.at(row).section >= 0 ? mParts.at(row).section : PlanImport::kLeftOut));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showParts();
    mList->setFocus();
    if (!mParts.isEmpty())
        mList->selectRow(0);
}

void ImportPreviewDialog::showParts()
{
    mList->setRowCount(static_cast<int>(mParts.size()));
    const bool anyHeading =
        std::any_of(mParts.begin(), mParts.end(), [](const PlanImport::Part& part) { return !part.heading.isEmpty(); });
    int topLevel = std::numeric_limits<int>::max();
    for (const PlanImport::Part& part : std::as_const(mParts))
        if (!part.heading.isEmpty())
            topLevel = std::min(topLevel, part.level);
    for (int row = 0; row < mParts.size(); ++row) {
        const PlanImport::Part& part = mParts.at(row);
        // Deeper headings are indented under theirs.
        const QString heading = !part.heading.isEmpty()
                                    ? QString((part.level - topLevel) * 3, QLatin1Char(' ')) + part.heading
                                : anyHeading ? QStringLiteral("(before the first heading)")
                                             : QStringLiteral("(a paragraph)");
        for (const auto& [column, text] :
             {std::pair{Heading, heading}, std::pair{FirstWords, PlanImport::firstWords(mDocument, part)},
              std::pair{Size, sizeOf(mDocument, part)}}) {
            auto* item = new QTableWidgetItem(text);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            mList->setItem(row, column, item);
        }
        auto* goesTo = new QTableWidgetItem;
        goesTo->setToolTip(QStringLiteral("Double-click or press F2 to choose where this part goes"));
        mList->setItem(row, GoesTo, goesTo);
        showWhere(row);
    }
    mList->resizeColumnToContents(Heading);
    mList->resizeColumnToContents(Size);
    mList->resizeColumnToContents(GoesTo);
    showCounts();
}

void ImportPreviewDialog::showWhere(int row)
{
    QTableWidgetItem* item = mList->item(row, GoesTo);
    item->setText(whereShown(mParts.at(row).section));
    QFont font = item->font();
    font.setItalic(mParts.at(row).section < 0);
    item->setFont(font);
}

// The counts are worked out once, after every part chosen is placed.
void ImportPreviewDialog::placeSelected(int section)
{
    for (const QModelIndex& row : mList->selectionModel()->selectedRows())
        setSection(row.row(), section);
    showCounts();
}

void ImportPreviewDialog::place(int row, int section)
{
    setSection(row, section);
    showCounts();
}

void ImportPreviewDialog::setSection(int row, int section)
{
    mParts[row].section = section;
    showWhere(row);
}

void ImportPreviewDialog::showCounts()
{
    const PlanImport::Result result = PlanImport::sectionTexts(mDocument, mParts, prose());
    QStringList empty;
    for (int section = 0; section < allSections().size(); ++section)
        if (!result.sectionTexts.contains(section))
            empty << allSections().at(section).title();
    mNothingFound->setText(empty.isEmpty()
                               ? QStringLiteral("Every section gets text.")
                               : QStringLiteral("Nothing found for: %1.").arg(empty.join(QStringLiteral(", "))));
    mLeftOut->setText(
        result.paragraphsLeftOut == 0
            ? QStringLiteral("Nothing is left out.")
            : QStringLiteral("%1 %2 (%3 words) %4 left out.")
                  .arg(result.paragraphsLeftOut)
                  .arg(result.paragraphsLeftOut == 1 ? QStringLiteral("paragraph") : QStringLiteral("paragraphs"))
                  .arg(result.wordsLeftOut)
                  .arg(result.paragraphsLeftOut == 1 ? QStringLiteral("is") : QStringLiteral("are")));
}

PlanImport::Prose ImportPreviewDialog::prose() const
{
    return mFirstSentences->isChecked() ? PlanImport::Prose::FirstSentences : PlanImport::Prose::WholeParagraphs;
}

PlanFile::Texts ImportPreviewDialog::plan() const
{
    PlanFile::Texts texts = PlanImport::planOf(mDocument, mParts, PlanImport::sectionTexts(mDocument, mParts, prose()));
    texts.insert(PlanKeys::companyName, mCompany->text().trimmed());
    texts.insert(PlanKeys::planTitle, mTitle->text().trimmed());
    return texts;
}
