#pragma once

// "Import Document…": what a business plan document will become, before
// anything changes. Its parts (each heading with its first words and size)
// and the section each goes to, changed in the part's own drop-down or for
// the selected parts at once (also a range of paragraphs, in a document
// without headings); the sections nothing was found for; how many
// paragraphs are left out; the company name and plan title, editable; and
// how the slides take prose.
#include "plan/imported_document.h"
#include "plan/plan_file.h"
#include "plan/plan_import.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

class ImportPreviewDialog : public QDialog {
    Q_OBJECT
public:
    ImportPreviewDialog(ImportedDocument document, const QString& documentName, QWidget* parent = nullptr);

    // The plan as the dialog stands: what OK makes the plan.
    PlanFile::Texts plan() const;
    // Where each part goes now, in the list's order.
    const QList<PlanImport::Part>& parts() const { return mParts; }
    // Sends the selected parts to the section (by its place among all
    // sections), or leaves them out (PlanImport::kLeftOut).
    void placeSelected(int section);
    // The same for the part in the row, as its own drop-down does.
    void place(int row, int section);

private:
    void showParts();
    void showWhere(int row);
    void setSection(int row, int section);
    void showCounts();
    PlanImport::Prose prose() const;

    ImportedDocument mDocument;
    QList<PlanImport::Part> mParts;
    QLineEdit* mCompany;
    QLineEdit* mTitle;
    QTableWidget* mList;
    QComboBox* mPlaceIn;
    QLabel* mNothingFound;
    QLabel* mLeftOut;
    QRadioButton* mFirstSentences;
};
