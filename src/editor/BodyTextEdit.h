#pragma once

#include <QPlainTextEdit>

// The editor's body field. Ordinary lines are shown unwrapped, with a
// horizontal scroll bar. A body holding a line longer than LongLine characters
// is shown wrapped at the field's width instead, and each such line is held in
// pieces of about PieceLength characters, each a paragraph of its own that
// continues the previous one: the text layout then works on one piece at a
// time, so opening, moving and typing stay fast on a line of megabytes. The
// pieces are the display's only: body() and the clipboard join them again,
// Backspace and Delete treat a piece's edge as no character, and Enter, like
// pasted line ends, always starts a new line.
class BodyTextEdit : public QPlainTextEdit
{
    Q_OBJECT
public:
    static constexpr qsizetype LongLine = 10000;
    static constexpr qsizetype PieceLength = 1000;

    explicit BodyTextEdit(QWidget *parent = nullptr);

    // The body with "\n" line ends.
    void setBody(const QString &text);
    QString body() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    QString textBetween(int from, int to) const;
};
