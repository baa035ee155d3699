#include "PendingRows.h"
#include "TestProgram.h"

static SendMoment at(int hour, int minute) { return SendMoment::fromDateTime(QDate(2026, 12, 4), QTime(hour, minute)); }

class PendingRowsTest : public QObject
{
    Q_OBJECT
private slots:
    // Each row: the mail's subject, To, CC and BCC, then the recipients and subject shown, before padding.
    void rowTextShowsMomentRecipientsAndSubject()
    {
        const QString d = QStringLiteral("0123456789").repeated(5);
        for (const auto &[mail, shown] : std::initializer_list<std::pair<QStringList, QStringList>>{
                 {{d.left(38), d.left(40), "", ""}, {d.left(40), d.left(38)}},  // both just fit
                 {{d.left(39), d.left(41), "", ""}, {d.left(37) + "...", d.left(35) + "..."}},  // one more: both cut
                 // A surrogate pair is one character, never cut.
                 {{d.left(34) + "😀bcde", d.left(39) + "😀", "", ""}, {d.left(39) + "😀", d.left(34) + "😀..."}},
                 {{"Objet", "A", "C", ""}, {"A;BCC=;CC=C", "Objet"}},
                 {{"", "A", "C", "B"}, {"A;BCC=B;CC=C", ""}}})  // BCC before CC
            QCOMPARE(PendingRowText({at(7, 5), mail[0], mail[1], mail[2], mail[3], {}, {}, true}),
                     "04/12/2026 07:05   " + shown[0].leftJustified(40) + "   " + shown[1].leftJustified(38));
    }

    // Mails for one minute move to the next free one, the earliest first.
    void collidingMailsMoveToTheNextFreeMinute()
    {
        for (const auto &[moments, times] : std::initializer_list<std::pair<QList<SendMoment>, QStringList>>{
                 {{at(10, 0), at(10, 0), at(10, 0)}, {"04/12/2026 10:00", "04/12/2026 10:01", "04/12/2026 10:02"}},
                 {{at(12, 0), at(9, 0), at(23, 59), at(23, 59)},  // across midnight
                  {"04/12/2026 09:00", "04/12/2026 12:00", "04/12/2026 23:59", "05/12/2026 00:00"}},
                 {{at(0, 0), SendMoment()}, {"30/12/1899 00:00", "04/12/2026 00:00"}}}) {  // the zero moment sorts first
            TestProgram t;
            for (const SendMoment moment : moments)
                addPendingMail(t.program, moment.dateTimeText(), "s");
            QStringList shown;
            for (int row = 0; row < t.program.pending.lstHisto().ListCount(); ++row) {
                shown << t.program.pending.lstHisto().List(row).left(16);
                QCOMPARE(shown.last(), t.program.pending[t.program.pending.slotOfRow(row)].Date.dateTimeText());
            }
            QCOMPARE(shown, times);
        }
    }

    // Confirmer's fields fill the slot in the current year and come back the same; an edit that
    // keeps its time keeps its minute, a changed one moves past the mail already there.
    void scheduleFillsTheSlotAndPlacesItsRow()
    {
        TestProgram t;
        t.desk.clock.set(QStringLiteral("01/03/2031 08:00"));
        PendingMails &pending = t.program.pending;
        for (const char *time : {"10:00", "11:00", "12:00"})
            addPendingMail(t.program, QStringLiteral("04/12/2031 ") + time, "t");
        QVERIFY(pending.schedule(2, {"Objet", "l1\r\nl2", "a@x.fr", "c@x.fr", "b@x.fr", "C:\\f.txt", "4/12", "11:0"}));
        const EditorFields f = EditorFieldsOf(pending[2]);
        QCOMPARE((QStringList{f.txtTitre, f.txtContenu, f.txtDest, f.txtCC, f.txtBCC, f.txtAttach, f.txtDate, f.txtHeure}),
                 (QStringList{"Objet", "l1\r\nl2", "a@x.fr", "c@x.fr", "b@x.fr", "C:\\f.txt", "04/12/2031", "11:00"}));
        QCOMPARE(pending.rowOfSlot(2), 1);
        QVERIFY(pending.schedule(2, {.txtTitre = "t", .txtDest = "a@x.fr", .txtDate = "04/12/2031", .txtHeure = "12:00"}));
        QCOMPARE(pending.rowOfSlot(2), 2);
        QCOMPARE(pending[2].Date.timeText(), QStringLiteral("12:01"));
        QCOMPARE(pending.lstHisto().ListCount(), 3);
    }
};

QTEST_GUILESS_MAIN(PendingRowsTest)
#include "tst_PendingRows.moc"
