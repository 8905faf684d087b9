#include "input/section_box_accessible.h"

#include "input/spelling.h"

#include <QPlainTextEdit>
#include <QTextBlock>

SectionBoxAccessible::SectionBoxAccessible(QPlainTextEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

QPlainTextEdit* SectionBoxAccessible::box() const
{
    return static_cast<QPlainTextEdit*>(widget());
}

void* SectionBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State SectionBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiLine = true;
    state.selectableText = true;
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    return state;
}

QString SectionBoxAccessible::text(QAccessible::Text kind) const
{
    return kind == QAccessible::Value ? box()->toPlainText() : QAccessibleWidget::text(kind);
}

QTextCursor SectionBoxAccessible::range(int startOffset, int endOffset) const
{
    QTextCursor cursor = box()->textCursor();
    cursor.setPosition(startOffset);
    cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
    return cursor;
}

void SectionBoxAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    const QTextCursor cursor = box()->textCursor();
    const bool selected = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = selected ? cursor.selectionStart() : 0;
    *endOffset = selected ? cursor.selectionEnd() : 0;
}

int SectionBoxAccessible::selectionCount() const
{
    return box()->textCursor().hasSelection() ? 1 : 0;
}

void SectionBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void SectionBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = box()->textCursor();
    cursor.clearSelection();
    box()->setTextCursor(cursor);
}

void SectionBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setTextCursor(range(startOffset, endOffset));
}

int SectionBoxAccessible::cursorPosition() const
{
    return box()->textCursor().position();
}

void SectionBoxAccessible::setCursorPosition(int position)
{
    box()->setTextCursor(range(position, position));
}

QString SectionBoxAccessible::text(int startOffset, int endOffset) const
{
    return range(startOffset, endOffset).selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

// The character, word, sentence, line or paragraph at a place of the text,
// lines as the box shows them.
QString SectionBoxAccessible::boundedText(int at, QAccessible::TextBoundaryType boundary, int* startOffset,
                                          int* endOffset) const
{
    const auto [start, end] = QAccessible::qAccessibleTextBoundaryHelper(range(at, at), boundary);
    *startOffset = start;
    *endOffset = end;
    return text(start, end);
}

QString SectionBoxAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                               int* endOffset) const
{
    const int start = QAccessible::qAccessibleTextBoundaryHelper(range(offset, offset), boundary).first;
    if (start == 0) {
        *startOffset = *endOffset = 0;
        return QString();
    }
    return boundedText(start - 1, boundary, startOffset, endOffset);
}

QString SectionBoxAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                              int* endOffset) const
{
    // A line ends before its line break: the next line starts after it.
    int next = QAccessible::qAccessibleTextBoundaryHelper(range(offset, offset), boundary).second;
    if (next < characterCount() && text(next, next + 1) == QLatin1String("\n"))
        ++next;
    if (next >= characterCount()) {
        *startOffset = *endOffset = characterCount();
        return QString();
    }
    return boundedText(next, boundary, startOffset, endOffset);
}

QString SectionBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                                           int* endOffset) const
{
    return boundedText(offset, boundary, startOffset, endOffset);
}

int SectionBoxAccessible::characterCount() const
{
    return box()->document()->characterCount() - 1;
}

QRect SectionBoxAccessible::characterRect(int offset) const
{
    const QRect caret = box()->cursorRect(range(offset, offset));
    const int width = box()->fontMetrics().horizontalAdvance(text(offset, offset + 1));
    return QRect(box()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
}

int SectionBoxAccessible::offsetAtPoint(const QPoint& point) const
{
    return box()->cursorForPosition(box()->viewport()->mapFromGlobal(point)).position();
}

void SectionBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    box()->setTextCursor(range(startIndex, endIndex));
    box()->ensureCursorVisible();
}

// A misspelled word is one run of the attribute; the text between two such
// words in a line is a run without it.
QString SectionBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const
{
    const QTextBlock line = box()->document()->findBlock(offset);
    if (offset < 0 || offset >= characterCount() || !line.isValid()) {
        *startOffset = *endOffset = -1;
        return QString();
    }
    const int at = offset - line.position();
    int runStart = 0;
    for (const SpellChecker::Range& word : markedMisspelled(line)) {
        if (at < word.start) {
            *startOffset = line.position() + runStart;
            *endOffset = line.position() + word.start;
            return QString();
        }
        if (at < word.start + word.length) {
            *startOffset = line.position() + word.start;
            *endOffset = line.position() + word.start + word.length;
            return QStringLiteral("invalid:spelling;");
        }
        runStart = word.start + word.length;
    }
    *startOffset = line.position() + runStart;
    *endOffset = std::min(line.position() + line.length(), characterCount());
    return QString();
}

void SectionBoxAccessible::deleteText(int startOffset, int endOffset)
{
    range(startOffset, endOffset).removeSelectedText();
}

void SectionBoxAccessible::insertText(int offset, const QString& text)
{
    range(offset, offset).insertText(text);
}

void SectionBoxAccessible::replaceText(int startOffset, int endOffset, const QString& text)
{
    range(startOffset, endOffset).insertText(text);
}

namespace {

QAccessibleInterface* sectionBoxInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String(QPlainTextEdit::staticMetaObject.className()))
        return new SectionBoxAccessible(static_cast<QPlainTextEdit*>(object));
    return nullptr;
}

}  // namespace

void installSectionBoxAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(sectionBoxInterface);
        return true;
    }();
    (void)installed;
}
