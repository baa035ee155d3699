#include "RecipientLists.h"
#include "SendTimeFields.h"

#include <QTest>

// The tidying rules of the editor's fields and the ordered address lists.
class tst_EditorRules : public QObject
{
    Q_OBJECT
private slots:
    void normalizeRecipients_data();
    void normalizeRecipients();
    void insertSortedUnique_data();
    void insertSortedUnique();
    void normalizeDate_data();
    void normalizeDate();
    void normalizeTime_data();
    void normalizeTime();
};

void tst_EditorRules::normalizeRecipients_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical");
    QTest::addColumn<QStringList>("learned");
    QTest::newRow("empty") << "" << "" << QStringList{};
    QTest::newRow("blanks and empty entries") << " a ;; b   c ;" << "a;b c" << QStringList{"a", "b c"};
    QTest::newRow("left by the picker") << ";x;y" << "x;y" << QStringList{"x", "y"};
    QTest::newRow("repeat kept, learned once") << "a;a" << "a;a" << QStringList{"a"};
    QTest::newRow("only blanks and separators") << " ; ;" << "" << QStringList{};
    QTest::newRow("tab, line break, no-break space are not blanks")
        << QString::fromUtf8("\tx  y\t;p\r\nq;\u00a0") << QString::fromUtf8("\tx y\t;p\r\nq;\u00a0")
        << QStringList{"\tx y\t", "p\r\nq", QString::fromUtf8("\u00a0")};
    QTest::newRow("typed order kept, learned sorted") << "c;a;b" << "c;a;b" << QStringList{"a", "b", "c"};
}

void tst_EditorRules::normalizeRecipients()
{
    QFETCH(QString, text);
    QFETCH(QString, canonical);
    QFETCH(QStringList, learned);
    ListRows book;
    QCOMPARE(NormalizeRecipients(text, book), canonical);
    QCOMPARE(book.texts(), learned);
    // Canonical text is a fixed point and teaches nothing new.
    QCOMPARE(NormalizeRecipients(canonical, book), canonical);
    QCOMPARE(book.texts(), learned);
}

void tst_EditorRules::insertSortedUnique_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("result");
    QTest::newRow("between") << QStringList{"a", "c"} << "b" << QStringList{"a", "b", "c"};
    QTest::newRow("present") << QStringList{"a", "c"} << "c" << QStringList{"a", "c"};
    QTest::newRow("after all") << QStringList{"a", "c"} << "d" << QStringList{"a", "c", "d"};
    QTest::newRow("empty list") << QStringList{} << "a" << QStringList{"a"};
    QTest::newRow("case-sensitive") << QStringList{"B", "b"} << "a" << QStringList{"B", "a", "b"};
    QTest::newRow("prefix first") << QStringList{"ab"} << "a" << QStringList{"a", "ab"};
    QTest::newRow("equal entry further down not seen") << QStringList{"c", "a"} << "a" << QStringList{"a", "c", "a"};
    // UTF-16 code units: the surrogate pair of U+1F600 sorts before U+FFFD.
    QTest::newRow("code units, not code points") << QStringList{QString::fromUtf8("\uFFFD")} << QString::fromUtf8("\U0001F600")
                                                 << QStringList{QString::fromUtf8("\U0001F600"), QString::fromUtf8("\uFFFD")};
}

void tst_EditorRules::insertSortedUnique()
{
    QFETCH(QStringList, list);
    QFETCH(QString, address);
    QFETCH(QStringList, result);
    ListRows rows;
    for (const QString &text : list)
        rows.AddItem(text);
    InsertSortedUnique(rows, address);
    QCOMPARE(rows.texts(), result);
}

void tst_EditorRules::normalizeDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalized");
    QTest::newRow("one-digit day and month") << "5/6/2025" << "05/06/2025";
    QTest::newRow("no year: this year") << "1/2" << "01/02/2026";
    QTest::newRow("year 49") << " 1/2/49 " << "01/02/2049";
    QTest::newRow("year 50") << "1/2/50" << "01/02/1950";
    QTest::newRow("29 February, leap year") << "29/2/2028" << "29/02/2028";
    QTest::newRow("29 February otherwise") << "29/2/2027" << "04/12/2026";
    QTest::newRow("31 April") << "31/04/2025" << "04/12/2026";
    QTest::newRow("word") << "hier" << "04/12/2026";
    QTest::newRow("empty") << "" << "04/12/2026";
    QTest::newRow("three-digit year") << "5/6/202" << "04/12/2026";
}

void tst_EditorRules::normalizeDate()
{
    QFETCH(QString, text);
    QFETCH(QString, normalized);
    QCOMPARE(NormalizeDate(text, QDate(2026, 12, 4)), normalized);
}

void tst_EditorRules::normalizeTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("normalized");
    QTest::newRow("one-digit parts") << "9:5" << "05/06/2025" << "09:05";
    QTest::newRow("seconds dropped, not rounded") << "14:30:59" << "05/06/2025" << "14:30";
    QTest::newRow("bounds") << " 23:59 " << "05/06/2025" << "23:59";
    QTest::newRow("no colon") << "930" << "05/06/2025" << "";
    QTest::newRow("h separator") << "9h30" << "05/06/2025" << "";
    QTest::newRow("hour 25") << "25:00" << "05/06/2025" << "";
    QTest::newRow("second 60") << "10:10:60" << "05/06/2025" << "";
    QTest::newRow("empty") << "" << "05/06/2025" << "";
    QTest::newRow("unreadable date") << "10:00" << "hier" << "";
}

void tst_EditorRules::normalizeTime()
{
    QFETCH(QString, text);
    QFETCH(QString, date);
    QFETCH(QString, normalized);
    QCOMPARE(NormalizeTime(text, date, 2026), normalized);
}

QTEST_GUILESS_MAIN(tst_EditorRules)
#include "tst_EditorRules.moc"
