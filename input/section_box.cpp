#include "input/section_box.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace {

const QString kTableLine = QStringLiteral("Table: ");

// The pasted lines, when they are rows of cells: two or more, each with a
// tab, not already under a "Table:" line.
QStringList pastedRows(const QString& text)
{
    QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    const bool rows = lines.size() >= 2 && std::all_of(lines.begin(), lines.end(), [](const QString& line) {
                          return line.contains(QLatin1Char('\t'));
                      });
    return rows ? lines : QStringList();
}

}  // namespace

void SectionBox::insertFromMimeData(const QMimeData* source)
{
    const QStringList rows = source->hasText() ? pastedRows(source->text()) : QStringList();
    if (rows.isEmpty()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    // The table starts a line of its own and ends with a blank line, so
    // that the text after it is not read as its rows.
    if (cursor.positionInBlock() > 0)
        cursor.insertText(QStringLiteral("\n"));
    cursor.insertText(kTableLine);
    const int titleAt = cursor.position();
    const bool textFollows = !cursor.atEnd();
    cursor.insertText(QStringLiteral("\n") + rows.join(QLatin1Char('\n')) + QStringLiteral("\n"));
    if (textFollows && !cursor.block().text().trimmed().isEmpty())
        cursor.insertText(QStringLiteral("\n"));
    cursor.endEditBlock();
    cursor.setPosition(titleAt);
    setTextCursor(cursor);
}
