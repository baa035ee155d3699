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
    void normalizeRecipients_data()
    {
        QTest::addColumn<QStringList>("book");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("canonical");
        QTest::addColumn<QStringList>("learned");
        const QStringList ac{"a", "c"};
        QTest::newRow("blanks and empty entries") << QStringList{} << " a ;; b   c ;" << "a;b c" << QStringList{"a", "b c"};
        QTest::newRow("only blanks and separators") << ac << " ; ;" << "" << ac;
        QTest::newRow("tab, line break, no-break space are not blanks") << QStringList{}
            << QString::fromUtf8("\tx  y\t;p\r\nq;\u00a0") << QString::fromUtf8("\tx y\t;p\r\nq;\u00a0")
            << QStringList{"\tx y\t", "p\r\nq", QString::fromUtf8("\u00a0")};
        QTest::newRow("typed order kept, learned sorted") << QStringList{} << "c;a;b" << "c;a;b" << QStringList{"a", "b", "c"};
        QTest::newRow("repeat and known kept, learned once") << ac << "c;a;c" << "c;a;c" << ac;
        QTest::newRow("case-sensitive") << QStringList{"B", "b"} << "a" << "a" << QStringList{"B", "a", "b"};
        QTest::newRow("prefix first") << QStringList{"ab"} << "a" << "a" << QStringList{"a", "ab"};
        QTest::newRow("equal entry further down not seen") << QStringList{"c", "a"} << "a" << "a" << QStringList{"a", "c", "a"};
        // UTF-16 code units: the surrogate pair of U+1F600 sorts before U+FFFD.
        const QString smiley = QString::fromUtf8("\U0001F600"), replacement = QString::fromUtf8("\uFFFD");
        QTest::newRow("code units, not code points") << QStringList{replacement} << smiley << smiley << QStringList{smiley, replacement};
    }
    void normalizeRecipients()
    {
        QFETCH(QStringList, book);
        QFETCH(QString, text);
        QFETCH(QString, canonical);
        QFETCH(QStringList, learned);
        ListRows rows;
        for (const QString &address : book)
            rows.AddItem(address);
        QCOMPARE(NormalizeRecipients(text, rows), canonical);
        QCOMPARE(rows.texts(), learned);
        // Canonical text is a fixed point and teaches nothing new.
        QCOMPARE(NormalizeRecipients(canonical, rows), canonical);
        QCOMPARE(rows.texts(), learned);
    }

    // Today is 04/12/2026. A time is only kept beside a readable date.
    void normalizeDateAndTime_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("normalizedDate");
        QTest::addColumn<QString>("normalizedTime");
        QTest::newRow("one-digit parts") << "5/6/2025" << "9:5" << "05/06/2025" << "09:05";
        QTest::newRow("no year: this year; seconds dropped, not rounded") << "1/2" << "14:30:59" << "01/02/2026" << "14:30";
        QTest::newRow("year 49; blanks") << " 1/2/49 " << " 23:59 " << "01/02/2049" << "23:59";
        QTest::newRow("year 50; no colon") << "1/2/50" << "930" << "01/02/1950" << "";
        QTest::newRow("29 February, leap year; h separator") << "29/2/2028" << "9h30" << "29/02/2028" << "";
        QTest::newRow("hour 25") << "05/06/2025" << "25:00" << "05/06/2025" << "";
        QTest::newRow("31 April") << "31/04/2025" << "10:00" << "04/12/2026" << "";
        QTest::newRow("word") << "hier" << "10:00" << "04/12/2026" << "";
    }
    void normalizeDateAndTime()
    {
        QFETCH(QString, date);
        QFETCH(QString, time);
        QFETCH(QString, normalizedDate);
        QFETCH(QString, normalizedTime);
        QCOMPARE(NormalizeDate(date, QDate(2026, 12, 4)), normalizedDate);
        QCOMPARE(NormalizeTime(time, date, 2026), normalizedTime);
    }

    void confirmWhileTheSchedulerRuns_data()
    {
        QTest::addColumn<int>("missing");         // required field left empty: 1 To, 2 date, 3 time
        QTest::addColumn<int>("delivered");       // slot handed to the mail client meanwhile, 0 none
        QTest::addColumn<int>("answer");          // to the question, asked when it is the edited one
        QTest::addColumn<QList<qint32>>("rows");  // slots of the pending rows afterwards
        // Pending: slot 1 at 10:00, slot 2 at 11:00 (changed to 13:00), slot 3 at 12:00.
        QTest::newRow("no delivery") << 0 << 0 << 0 << QList<qint32>{1, 3, 2};
        QTest::newRow("earlier mail left: row position stale") << 0 << 1 << 0 << QList<qint32>{3, 2};
        QTest::newRow("later mail left") << 0 << 3 << 0 << QList<qint32>{1, 2};
        QTest::newRow("edited mail left, scheduled again") << 0 << 2 << int(MsgBox::Yes) << QList<qint32>{1, 3, 2};
        QTest::newRow("edited mail left, dropped") << 0 << 2 << int(MsgBox::No) << QList<qint32>{1, 3};
        QTest::newRow("no To") << 1 << 0 << 0 << QList<qint32>{1, 2, 3};
        QTest::newRow("no date") << 2 << 0 << 0 << QList<qint32>{1, 2, 3};
        QTest::newRow("no time") << 3 << 0 << 0 << QList<qint32>{1, 2, 3};
    }
    void confirmWhileTheSchedulerRuns()
    {
        QFETCH(int, missing);
        QFETCH(int, delivered);
        QFETCH(int, answer);
        QFETCH(QList<qint32>, rows);
        TestProgram t;
        Program &program = t.program;
        for (const char *time : {"10:00", "11:00", "12:00"})
            addPendingMail(program, QStringLiteral("04/12/2026 ") + time, "t");
        const QStringList before = program.pending.lstHisto().texts();
        program.EditRow = 1;
        program.EditSlot = 2;
        if (delivered) {  // a scheduler tick in its minute hands it to the mail client
            t.desk.clock.set(program.pending[qint16(delivered)].Date.dateTimeText());
            Scheduler(program).SendDueMail();
        }
        t.desk.messageBox.answers = {MsgBox::Answer(answer)};
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
};

QTEST_GUILESS_MAIN(tst_EditorRules)
#include "tst_EditorRules.moc"
