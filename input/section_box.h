#pragma once

#include <QPlainTextEdit>

// The box a section's text is typed in. Two or more lines of cells
// separated by tabs, pasted into it as a range copied from a spreadsheet
// is, get a "Table:" line above them, so that they become a table in the
// deck; the cursor waits after it for the table's title. The box keeps its
// class name, which its accessible interface is found by.
class SectionBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};
