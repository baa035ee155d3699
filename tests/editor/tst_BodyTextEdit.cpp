#include "BodyTextEdit.h"

#include <QTest>
#include <QtWidgets>

// The body field holds a very long line in pieces; the pieces never show in its text.
class tst_BodyTextEdit : public QObject
{
    Q_OBJECT
private slots:
    // Keys: "end" moves to the end of the first piece, "start" to the start of the
    // second; then the key itself, sent as a real key event.
    void piecesAreInvisibleToEditing_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");  // what becomes of "890123" around the first piece's edge
        QTest::newRow("Backspace at a piece's start") << "start" << int(Qt::Key_Backspace) << "89123";
        QTest::newRow("Delete at a piece's end") << "end" << int(Qt::Key_Delete) << "89023";
        QTest::newRow("Enter inside a piece breaks the line") << "start" << int(Qt::Key_Return) << "890\n123";
        QTest::newRow("a letter") << "end" << int(Qt::Key_X) << "890x123";
    }
    void piecesAreInvisibleToEditing()
    {
        QFETCH(QString, where);
        QFETCH(int, key);
        QFETCH(QString, expected);
        // Digits without blanks, so that the pieces are cut at exactly PieceLength.
        QString line;
        while (line.size() < 3 * BodyTextEdit::LongLine)
            line += "1234567890";
        const QString body = "début\n" + line + QString::fromUtf16(u"\nfin\u00A0");
        BodyTextEdit edit;
        edit.setBody(QString(BodyTextEdit::LongLine, 'a') + "\nb");  // ordinary lines scroll sideways, whole
        QVERIFY(edit.lineWrapMode() == QPlainTextEdit::NoWrap && edit.document()->blockCount() == 2);
        edit.setBody(body);
        QCOMPARE(edit.lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(edit.document()->blockCount() > 3 * BodyTextEdit::LongLine / BodyTextEdit::PieceLength);
        QCOMPARE(edit.body(), QString(body).replace(QChar(0xA0), ' '));  // as the plain field gives it

        QTextCursor cursor(edit.document()->findBlockByNumber(where == "end" ? 1 : 2));
        cursor.movePosition(where == "end" ? QTextCursor::EndOfBlock : QTextCursor::StartOfBlock);
        edit.setTextCursor(cursor);
        QTest::keyClick(&edit, Qt::Key(key));
        const qsizetype edge = 6 + BodyTextEdit::PieceLength;
        QString changed = "début\n" + line + "\nfin ";
        changed.replace(edge - 3, 6, expected);
        QCOMPARE(edit.body(), changed);

        // Copying across pieces copies the line whole; undo brings the text back.
        cursor.setPosition(0);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        edit.setTextCursor(cursor);
        edit.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), changed);
        edit.undo();
        QCOMPARE(edit.body(), QString(body).replace(QChar(0xA0), ' '));
    }
};

QTEST_MAIN(tst_BodyTextEdit)
#include "tst_BodyTextEdit.moc"
