#include "BodyTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {
// Marks a paragraph that continues the previous one's line.
constexpr int ContinuesLine = QTextFormat::UserProperty + 1;

bool continuesLine(const QTextBlock &block)
{
    return block.isValid() && block.blockFormat().boolProperty(ContinuesLine);
}

// Where to cut a long line after `from`: after the last blank of the piece's
// last tenth when there is one, never inside a surrogate pair.
qsizetype pieceEnd(QStringView line, qsizetype from)
{
    qsizetype end = from + BodyTextEdit::PieceLength;
    if (end >= line.size())
        return line.size();
    const qsizetype blank = line.lastIndexOf(u' ', end - 1);
    if (blank >= end - BodyTextEdit::PieceLength / 10)
        return blank + 1;
    if (line.at(end - 1).isHighSurrogate())
        --end;
    return end;
}

// The lines as the document cuts them: at every character that starts a paragraph.
QList<QStringView> lineBreaks(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t unit = text.at(at).unicode();
        if (unit == u'\n' || unit == u'\r' || unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1) {
            lines << text.sliced(start, at - start);
            start = at + 1;
        }
    }
    lines << text.sliced(start);
    return lines;
}
} // namespace

BodyTextEdit::BodyTextEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(NoWrap);
}

void BodyTextEdit::setBody(const QString &text)
{
    const QList<QStringView> lines = lineBreaks(text);
    const bool longLines = std::any_of(lines.begin(), lines.end(), [](QStringView line) { return line.size() > LongLine; });
    setLineWrapMode(longLines ? WidgetWidth : NoWrap);
    if (!longLines) {
        setPlainText(text);
        return;
    }
    QTextDocument *document = this->document();
    document->clear();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    QTextBlockFormat continuing;
    continuing.setProperty(ContinuesLine, true);
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QStringView line = lines[index];
        if (index > 0)
            cursor.insertBlock(QTextBlockFormat());
        if (line.size() <= LongLine) {
            cursor.insertText(line.toString());
            continue;
        }
        for (qsizetype from = 0; from < line.size();) {
            const qsizetype to = pieceEnd(line, from);
            if (from > 0)
                cursor.insertBlock(continuing);
            cursor.insertText(line.sliced(from, to - from).toString());
            from = to;
        }
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(true);
    setTextCursor(QTextCursor(document));
}

QString BodyTextEdit::body() const
{
    return textBetween(0, document()->characterCount() - 1);
}

// The text of a span as typed, the pieces of a line joined: line ends as toPlainText()
// gives them, non-breaking spaces kept (toPlainText() makes them blanks).
QString BodyTextEdit::textBetween(int from, int to) const
{
    QTextCursor span(document());
    span.setPosition(from);
    span.setPosition(to, QTextCursor::KeepAnchor);
    // Each paragraph ends with U+2029 there; a paragraph continuing a line drops it.
    const QString selected = span.selectedText();
    QString text;
    text.reserve(selected.size());
    qsizetype copied = 0;
    const int lastBlock = document()->findBlock(to).blockNumber();
    for (QTextBlock block = document()->findBlock(from).next(); block.isValid() && block.blockNumber() <= lastBlock;
         block = block.next()) {
        if (continuesLine(block)) {
            const qsizetype edge = block.position() - 1 - from;
            text += QStringView(selected).sliced(copied, edge - copied);
            copied = edge + 1;
        }
    }
    text += QStringView(selected).sliced(copied);
    for (QChar &c : text) {
        const char16_t unit = c.unicode();
        if (unit == QChar::ParagraphSeparator || unit == QChar::LineSeparator || unit == 0xFDD0 || unit == 0xFDD1)
            c = u'\n';
    }
    return text;
}

void BodyTextEdit::keyPressEvent(QKeyEvent *event)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    if (!cursor.hasSelection()) {
        if (event == QKeySequence::InsertParagraphSeparator) {
            // A new paragraph always breaks the line, even inside a piece that continues one.
            cursor.insertBlock(QTextBlockFormat());
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
        // Backspace at a piece's start and Delete at its end act on the character beyond the edge.
        if (event->key() == Qt::Key_Backspace && event->modifiers() == Qt::NoModifier && cursor.atBlockStart()
            && continuesLine(block)) {
            cursor.movePosition(QTextCursor::PreviousBlock);
            cursor.movePosition(QTextCursor::EndOfBlock);
            setTextCursor(cursor);
        } else if (event == QKeySequence::Delete && cursor.atBlockEnd() && continuesLine(block.next())) {
            cursor.movePosition(QTextCursor::NextBlock);
            setTextCursor(cursor);
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData *BodyTextEdit::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}
