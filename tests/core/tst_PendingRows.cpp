#include "EditorFields.h"
#include "PendingRows.h"
#include "TestDesktop.h"

#include <QTest>

namespace {
SendMoment at(int hour, int minute, int day = 4)
{
    return SendMoment::fromDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

// Adds each mail as a new one, in the given order, and returns the rows' times.
QStringList placeAll(MailTable &table, ListRows &rows, const QList<SendMoment> &moments)
{
    for (const SendMoment moment : moments) {
        const qint16 slot = table.FindFreeSlot();
        table[slot].InUse = true;
        table[slot].Date = moment;
        table[slot].Titre = QString::number(slot);
        InsertPendingRow(table, rows, slot);
    }
    QStringList times;
    for (int row = 0; row < rows.ListCount(); ++row)
        times << rows.List(row).left(16);
    return times;
}
} // namespace

class PendingRowsTest : public QObject
{
    Q_OBJECT
private slots:
    void fitTextPadsOrCuts_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("expected");
        const QString digits = QStringLiteral("0123456789").repeated(5);
        QTest::newRow("38 of 38 whole") << 38 << 38 << digits.left(38);
        QTest::newRow("39 of 38 cut") << 39 << 38 << digits.left(35) + "...";
        QTest::newRow("39 of 40 padded") << 39 << 40 << digits.left(39) + " ";
        QTest::newRow("41 of 40 cut") << 41 << 40 << digits.left(37) + "...";
        QTest::newRow("empty padded") << 0 << 3 << QStringLiteral("   ");
    }
    void fitTextPadsOrCuts()
    {
        QFETCH(int, length);
        QFETCH(int, width);
        QFETCH(QString, expected);
        QCOMPARE(FitText(QStringLiteral("0123456789").repeated(5).left(length), qint16(width)), expected);
    }

    void rowTextShowsMomentRecipientsAndSubject_data()
    {
        QTest::addColumn<QString>("cc");
        QTest::addColumn<QString>("bcc");
        QTest::addColumn<QString>("recipients");
        QTest::newRow("To only") << QString() << QString() << QStringLiteral("A");
        QTest::newRow("CC only") << QStringLiteral("C") << QString() << QStringLiteral("A;BCC=;CC=C");
        QTest::newRow("BCC before CC") << QStringLiteral("C") << QStringLiteral("B") << QStringLiteral("A;BCC=B;CC=C");
    }
    void rowTextShowsMomentRecipientsAndSubject()
    {
        QFETCH(QString, cc);
        QFETCH(QString, bcc);
        QFETCH(QString, recipients);
        MailItem mail;
        mail.Date = at(7, 5);
        mail.Dest = QStringLiteral("A");
        mail.CC = cc;
        mail.BCC = bcc;
        mail.Titre = QStringLiteral("Objet");
        const QString text = PendingRowText(mail);
        QCOMPARE(text.size(), 100);
        QCOMPARE(text, "04/12/2026 07:05   " + recipients.leftJustified(40) + "   " + QStringLiteral("Objet").leftJustified(38));
    }

    void collidingMailsMoveToTheNextFreeMinute_data()
    {
        QTest::addColumn<QList<SendMoment>>("moments");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("three for 10:00") << QList<SendMoment>{at(10, 0), at(10, 0), at(10, 0)}
                                         << QStringList{"04/12/2026 10:00", "04/12/2026 10:01", "04/12/2026 10:02"};
        QTest::newRow("10:00 and 10:01 taken") << QList<SendMoment>{at(10, 1), at(10, 0), at(10, 0)}
                                               << QStringList{"04/12/2026 10:00", "04/12/2026 10:01", "04/12/2026 10:02"};
        QTest::newRow("earliest first, latest last") << QList<SendMoment>{at(12, 0), at(9, 0), at(23, 59), at(23, 59, 5)}
            << QStringList{"04/12/2026 09:00", "04/12/2026 12:00", "04/12/2026 23:59", "05/12/2026 23:59"};
        QTest::newRow("across midnight") << QList<SendMoment>{at(23, 59), at(23, 59)}
                                         << QStringList{"04/12/2026 23:59", "05/12/2026 00:00"};
        QTest::newRow("zero moment sorts first") << QList<SendMoment>{at(0, 0), SendMoment()}
                                                 << QStringList{"30/12/1899 00:00", "04/12/2026 00:00"};
    }
    void collidingMailsMoveToTheNextFreeMinute()
    {
        QFETCH(QList<SendMoment>, moments);
        QFETCH(QStringList, times);
        MailTable table;
        ListRows rows;
        QCOMPARE(placeAll(table, rows, moments), times);
        for (int row = 0; row < rows.ListCount(); ++row)
            QCOMPARE(rows.List(row).left(16), table[qint16(rows.ItemData(row))].Date.dateTimeText());
    }

    void editingKeepsAnUnchangedTimeAndMovesAChangedOne()
    {
        MailTable table;
        ListRows rows;
        placeAll(table, rows, {at(10, 0), at(11, 0), at(12, 0)});
        ReplacePendingRow(table, rows, 1, 2);
        QCOMPARE(table[2].Date, at(11, 0));
        QCOMPARE(rows.ItemData(1), 2);
        table[2].Date = at(12, 0);
        ReplacePendingRow(table, rows, 1, 2);
        QCOMPARE(rows.ItemData(2), 2);
        QCOMPARE(table[2].Date, at(12, 1));
        QCOMPARE(rows.ListCount(), 3);
    }

    void editorFieldsFillTheSlotAndShowItBack()
    {
        TestDesktop desk;
        desk.clock.set(QStringLiteral("01/03/2031 08:00"));
        EditorFields fields{"Objet", "l1\r\nl2", "a@x.fr", "c@x.fr", "", "C:\\f.txt", "4/12", "9:5"};
        MailTable table;
        FillMailFromEditor(table, 3, fields);
        QVERIFY(table[3].InUse);
        QCOMPARE(table[3].Date, SendMoment::fromDateTime(QDate(2031, 12, 4), QTime(9, 5)));
        const EditorFields shown = EditorFieldsOf(table[3]);
        QCOMPARE(shown.txtDate + " " + shown.txtHeure, QStringLiteral("04/12/2031 09:05"));
        QCOMPARE(shown.txtContenu + shown.txtAttach + shown.txtCC, fields.txtContenu + fields.txtAttach + fields.txtCC);
    }
};

QTEST_GUILESS_MAIN(PendingRowsTest)
#include "tst_PendingRows.moc"
