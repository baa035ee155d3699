#include "EditorFields.h"
#include "PendingRows.h"
#include "TestDesktop.h"

#include <QTest>

namespace {
SendMoment at(int hour, int minute) { return SendMoment::fromDateTime(QDate(2026, 12, 4), QTime(hour, minute)); }

// Adds each mail as a new one, in the given order, and returns the rows' times.
QStringList placeAll(MailTable &table, ListRows &rows, const QList<SendMoment> &moments)
{
    for (const SendMoment moment : moments) {
        const qint16 slot = table.FindFreeSlot();
        table[slot] = {moment, QString::number(slot), {}, {}, {}, {}, {}, true};
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
    void rowTextShowsMomentRecipientsAndSubject_data()
    {
        QTest::addColumn<QStringList>("mail");  // subject, To, CC, BCC
        QTest::addColumn<QStringList>("shown");  // recipients and subject, before padding
        const QString d = QStringLiteral("0123456789").repeated(5);
        QTest::newRow("To only, both just fit") << QStringList{d.left(38), d.left(40), "", ""} << QStringList{d.left(40), d.left(38)};
        QTest::newRow("one more: both cut") << QStringList{d.left(39), d.left(41), "", ""}
                                            << QStringList{d.left(37) + "...", d.left(35) + "..."};
        QTest::newRow("a surrogate pair is one character, never cut")
            << QStringList{d.left(34) + "😀bcde", d.left(39) + "😀", "", ""} << QStringList{d.left(39) + "😀", d.left(34) + "😀..."};
        QTest::newRow("CC only") << QStringList{"Objet", "A", "C", ""} << QStringList{"A;BCC=;CC=C", "Objet"};
        QTest::newRow("BCC before CC") << QStringList{"", "A", "C", "B"} << QStringList{"A;BCC=B;CC=C", ""};
    }
    void rowTextShowsMomentRecipientsAndSubject()
    {
        QFETCH(QStringList, mail);
        QFETCH(QStringList, shown);
        QCOMPARE(PendingRowText({at(7, 5), mail[0], mail[1], mail[2], mail[3], {}, {}, true}),
                 "04/12/2026 07:05   " + shown[0].leftJustified(40) + "   " + shown[1].leftJustified(38));
    }

    void collidingMailsMoveToTheNextFreeMinute_data()
    {
        QTest::addColumn<QList<SendMoment>>("moments");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("three for 10:00") << QList<SendMoment>{at(10, 0), at(10, 0), at(10, 0)}
                                         << QStringList{"04/12/2026 10:00", "04/12/2026 10:01", "04/12/2026 10:02"};
        QTest::newRow("earliest first, across midnight") << QList<SendMoment>{at(12, 0), at(9, 0), at(23, 59), at(23, 59)}
            << QStringList{"04/12/2026 09:00", "04/12/2026 12:00", "04/12/2026 23:59", "05/12/2026 00:00"};
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

    void editorFieldsFillTheSlotInTheCurrentYearAndShowItBack()
    {
        TestDesktop desk;
        desk.clock.set(QStringLiteral("01/03/2031 08:00"));
        MailTable table;
        FillMailFromEditor(table, 3, {"Objet", "l1\r\nl2", "a@x.fr", "c@x.fr", "b@x.fr", "C:\\f.txt", "4/12", "9:5"});
        QVERIFY(table[3].InUse);
        const EditorFields f = EditorFieldsOf(table[3]);
        QCOMPARE((QStringList{f.txtTitre, f.txtContenu, f.txtDest, f.txtCC, f.txtBCC, f.txtAttach, f.txtDate, f.txtHeure}),
                 (QStringList{"Objet", "l1\r\nl2", "a@x.fr", "c@x.fr", "b@x.fr", "C:\\f.txt", "04/12/2031", "09:05"}));
    }
};

QTEST_GUILESS_MAIN(PendingRowsTest)
#include "tst_PendingRows.moc"
