#pragma once

#include <QAccessibleWidget>

class QPlainTextEdit;
class QTextCursor;

// What a screen reader reads of a section box: its text, caret, selection
// and lines, as for any text box, and on the words the dictionary does not
// know the "invalid:spelling" attribute that screen readers look for (the
// toolkit's own interface reports only the document's formats, and the red
// line is drawn over them).
class SectionBoxAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit SectionBoxAccessible(QPlainTextEdit* box);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

private:
    QPlainTextEdit* box() const;
    QTextCursor range(int startOffset, int endOffset) const;
    QString boundedText(int at, QAccessible::TextBoundaryType boundary, int* startOffset, int* endOffset) const;
};

// Makes every section box of the program answer through the interface
// above. Installed once, by the plan window.
void installSectionBoxAccessible();
