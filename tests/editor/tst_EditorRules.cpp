#include "ConfirmMail.h"
#include "RecipientLists.h"
#include "Scheduler.h"
#include "SendTimeFields.h"
#include "PendingRows.h"
#include "TestProgram.h"

// The tidying rules of the editor's fields, the ordered address book they teach,
// and what Confirmer does with the fields while the scheduler runs.
class tst_EditorRules : public QObject
{
    Q_OBJECT
private slots:
    void normalizeRecipients()
    {
        const QStringList ac{"a", "c"};
        // UTF-16 code units: the surrogate pair of U+1F600 sorts before U+FFFD.
        const QString smiley = QString::fromUtf8("\U0001F600"), replacement = QString::fromUtf8("\uFFFD");
        // The book before, the typed text, its canonical form, the book afterwards.
        const std::tuple<QStringList, QString, QString, QStringList> rows[]{
            {{}, " a ;; b   c ;", "a;b c", {"a", "b c"}},  // blanks and empty entries
            {ac, " ; ;", "", ac},                           // only blanks and separators
            {{}, QString::fromUtf8("\tx  y\t;p\r\nq;\u00a0"), QString::fromUtf8("\tx y\t;p\r\nq;\u00a0"),  // tab, line break and
             {"\tx y\t", "p\r\nq", QString::fromUtf8("\u00a0")}},                                          // no-break space: no blanks
            {{}, "c;a;b", "c;a;b", {"a", "b", "c"}},        // typed order kept, learned sorted
            {ac, "c;a;c", "c;a;c", ac},                     // repeat and known kept, learned once
            {{"B", "b"}, "a", "a", {"B", "a", "b"}},        // case-sensitive
            {{"ab"}, "a", "a", {"a", "ab"}},                // prefix first
            {{"c", "a"}, "a", "a", {"a", "c", "a"}},        // an equal entry further down is not seen
            {{replacement}, smiley, smiley, {smiley, replacement}},
        };
        for (const auto &[book, text, canonical, learned] : rows) {
            ListRows list;
            for (const QString &address : book)
                list.AddItem(address);
            QCOMPARE(NormalizeRecipients(text, list), canonical);
            QCOMPARE(list.texts(), learned);
            // Canonical text is a fixed point and teaches nothing new.
            QCOMPARE(NormalizeRecipients(canonical, list), canonical);
            QCOMPARE(list.texts(), learned);
        }
    }

    // Today is 04/12/2026. A time is only kept beside a readable date.
    void normalizeDateAndTime()
    {
        // Typed date and time, and what they become.
        const std::array<QString, 4> rows[]{
            {"5/6/2025", "9:5", "05/06/2025", "09:05"},         // one-digit parts
            {"1/2", "14:30:59", "01/02/2026", "14:30"},         // no year: this year; seconds dropped, not rounded
            {" 1/2/49 ", " 23:59 ", "01/02/2049", "23:59"},     // year 49; blanks
            {"1/2/50", "930", "01/02/1950", ""},                // year 50; no colon
            {"29/2/2028", "9h30", "29/02/2028", ""},            // 29 February, leap year; h separator
            {"05/06/2025", "25:00", "05/06/2025", ""},          // hour 25
            {"31/04/2025", "10:00", "04/12/2026", ""},          // 31 April
            {"hier", "10:00", "04/12/2026", ""},                // a word
        };
        for (const auto &[date, time, normalizedDate, normalizedTime] : rows) {
            QCOMPARE(NormalizeDate(date, QDate(2026, 12, 4)), normalizedDate);
            QCOMPARE(NormalizeTime(time, date, 2026), normalizedTime);
        }
    }

    void confirmWhileTheSchedulerRuns()
    {
        // Pending: slot 1 at 10:00, slot 2 at 11:00 (edited, changed to 13:00), slot 3 at 12:00. Each row: the required
        // field left empty (1 To, 2 date, 3 time), the slot handed to the mail client meanwhile (0 none), the answer to
        // the question asked when it is the edited one, and the slots of the pending rows afterwards.
        const std::tuple<int, int, MsgBox::Answer, QList<qint32>> cases[]{
            {0, 0, MsgBox::No, {1, 3, 2}},   // no delivery
            {0, 1, MsgBox::No, {3, 2}},      // earlier mail left: row position stale
            {0, 3, MsgBox::No, {1, 2}},      // later mail left
            {0, 2, MsgBox::Yes, {1, 3, 2}},  // edited mail left, scheduled again
            {0, 2, MsgBox::No, {1, 3}},      // edited mail left, dropped
            {1, 0, MsgBox::No, {1, 2, 3}},
            {2, 0, MsgBox::No, {1, 2, 3}},
            {3, 0, MsgBox::No, {1, 2, 3}},
        };
        for (const auto &[missing, delivered, answer, rows] : cases) {
            TestProgram t;
            Program &program = t.program;
            for (const char *time : {"10:00", "11:00", "12:00"})
                addPendingMail(program, QStringLiteral("04/12/2026 ") + time, "t");
            const QStringList before = program.pending.lstHisto().texts();
            program.EditRow = 1, program.EditSlot = 2;
            if (delivered) {  // a scheduler tick in its minute hands it to the mail client
                t.desk.clock.set(program.pending[qint16(delivered)].Date.dateTimeText());
                Scheduler(program).SendDueMail();
            }
            t.desk.messageBox.answers = {answer};
            EditorFields fields{.txtTitre = "t", .txtDest = "a@x.fr", .txtDate = "04/12/2026", .txtHeure = "13:00"};
            if (missing)
                (missing == 1 ? fields.txtDest : missing == 2 ? fields.txtDate : fields.txtHeure).clear();
            const int writes = t.desk.files.writes;

            QCOMPARE(ConfirmMail(program, fields), missing ? ConfirmOutcome::StayOpen : ConfirmOutcome::Close);
            const bool asked = missing || delivered == 2;
            QCOMPARE(t.desk.messageBox.shown.size(), asked ? 1 : 0);
            QVERIFY(!asked || t.desk.messageBox.shown[0].buttons == (missing ? MsgBox::Critical : MsgBox::YesNo));
            QCOMPARE(t.desk.files.writes == writes, missing || (delivered == 2 && answer == MsgBox::No));
            // One row per pending mail; the others' rows untouched, the edited one at its new time.
            QCOMPARE(program.pending.lstHisto().ListCount(), rows.size());
            for (int row = 0; row < rows.size(); ++row) {
                QCOMPARE(program.pending.lstHisto().ItemData(row), rows[row]);
                QCOMPARE(program.pending.lstHisto().List(row), rows[row] == 2 ? PendingRowText(program.pending[2]) : before[rows[row] - 1]);
            }
            QCOMPARE(program.pending.table().inUseCount(), rows.size());
            if (rows.contains(2))
                QCOMPARE(program.pending[2].Date.timeText(), missing ? QStringLiteral("11:00") : QStringLiteral("13:00"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_EditorRules)
#include "tst_EditorRules.moc"
