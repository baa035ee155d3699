#include "RecipientLists.h"

#include <QTest>

class tst_RecipientLists : public QObject
{
    Q_OBJECT
private slots:
    void normalizeRecipients_data();
    void normalizeRecipients();
    void insertSortedUnique_data();
    void insertSortedUnique();
};

static void fill(ListRows &rows, const QStringList &texts)
{
    for (const QString &text : texts)
        rows.AddItem(text);
}

void tst_RecipientLists::normalizeRecipients_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("canonical");
    QTest::addColumn<QStringList>("learned");

    QTest::newRow("empty") << "" << "" << QStringList{};
    QTest::newRow("blanks and empty entries") << " a ;; b   c ;" << "a;b c" << QStringList{"a", "b c"};
    QTest::newRow("left by the picker") << ";x;y" << "x;y" << QStringList{"x", "y"};
    QTest::newRow("repeat kept in field, learned once") << "a;a" << "a;a" << QStringList{"a"};
    QTest::newRow("two blanks") << "  " << "" << QStringList{};
    QTest::newRow("lone separator") << ";" << "" << QStringList{};
    QTest::newRow("blanks and separators") << " ; ;" << "" << QStringList{};
    QTest::newRow("tab and line break are not blanks")
        << "\tx  y\t;p\r\nq" << "\tx y\t;p\r\nq" << QStringList{"\tx y\t", "p\r\nq"};
    QTest::newRow("no-break space is not a blank") << QString::fromUtf8("\u00a0a\u00a0") << QString::fromUtf8("\u00a0a\u00a0")
                                                 << QStringList{QString::fromUtf8("\u00a0a\u00a0")};
    QTest::newRow("display name") << "  Jean   Dupont  <jd@x.fr> " << "Jean Dupont <jd@x.fr>"
                                  << QStringList{"Jean Dupont <jd@x.fr>"};
    QTest::newRow("learned in order, typed order kept") << "c;a;b" << "c;a;b" << QStringList{"a", "b", "c"};
}

void tst_RecipientLists::normalizeRecipients()
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

void tst_RecipientLists::insertSortedUnique_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("result");

    QTest::newRow("between") << QStringList{"a", "c"} << "b" << QStringList{"a", "b", "c"};
    QTest::newRow("present") << QStringList{"a", "c"} << "c" << QStringList{"a", "c"};
    QTest::newRow("after all") << QStringList{"a", "c"} << "d" << QStringList{"a", "c", "d"};
    QTest::newRow("before all") << QStringList{"b", "c"} << "a" << QStringList{"a", "b", "c"};
    QTest::newRow("empty list") << QStringList{} << "a" << QStringList{"a"};
    QTest::newRow("case-sensitive order") << QStringList{"B", "b"} << "a" << QStringList{"B", "a", "b"};
    QTest::newRow("case is a difference") << QStringList{"a"} << "A" << QStringList{"A", "a"};
    QTest::newRow("prefix first") << QStringList{"ab"} << "a" << QStringList{"a", "ab"};
    QTest::newRow("unordered list, equal entry further down") << QStringList{"c", "a"} << "a"
                                                             << QStringList{"a", "c", "a"};
    // UTF-16 code units: a surrogate pair (U+1F600) sorts before U+FFFD.
    QTest::newRow("code units, not code points")
        << QStringList{QString::fromUtf8("\uFFFD")} << QString::fromUtf8("\U0001F600")
        << QStringList{QString::fromUtf8("\U0001F600"), QString::fromUtf8("\uFFFD")};
}

void tst_RecipientLists::insertSortedUnique()
{
    QFETCH(QStringList, list);
    QFETCH(QString, address);
    QFETCH(QStringList, result);
    ListRows rows;
    fill(rows, list);
    InsertSortedUnique(rows, address);
    QCOMPARE(rows.texts(), result);
}

QTEST_GUILESS_MAIN(tst_RecipientLists)
#include "tst_RecipientLists.moc"
