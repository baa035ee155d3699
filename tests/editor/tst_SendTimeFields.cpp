#include "SendTimeFields.h"

#include <QTest>

class tst_SendTimeFields : public QObject
{
    Q_OBJECT
private slots:
    void normalizeDate_data();
    void normalizeDate();
    void normalizeTime_data();
    void normalizeTime();
};

static const QDate Today(2026, 12, 4);

void tst_SendTimeFields::normalizeDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("normalized");

    QTest::newRow("already tidy") << "05/06/2025" << "05/06/2025";
    QTest::newRow("one-digit day and month") << "5/6/2025" << "05/06/2025";
    QTest::newRow("no year: this year") << "1/2" << "01/02/2026";
    QTest::newRow("two-digit year 00-49") << "1/2/49" << "01/02/2049";
    QTest::newRow("two-digit year 50-99") << "1/2/50" << "01/02/1950";
    QTest::newRow("blanks around") << "  7/8/2027 " << "07/08/2027";
    QTest::newRow("29 February of a leap year") << "29/2/2028" << "29/02/2028";
    QTest::newRow("29 February otherwise: today") << "29/2/2027" << "04/12/2026";
    QTest::newRow("31 April: today") << "31/04/2025" << "04/12/2026";
    QTest::newRow("month 13: today") << "1/13/2025" << "04/12/2026";
    QTest::newRow("word: today") << "hier" << "04/12/2026";
    QTest::newRow("empty: today") << "" << "04/12/2026";
    QTest::newRow("dashes: today") << "05-06-2025" << "04/12/2026";
    QTest::newRow("three-digit year: today") << "5/6/202" << "04/12/2026";
    QTest::newRow("trailing slash: today") << "5/6/" << "04/12/2026";
}

void tst_SendTimeFields::normalizeDate()
{
    QFETCH(QString, text);
    QFETCH(QString, normalized);
    QCOMPARE(NormalizeDate(text, Today), normalized);
}

void tst_SendTimeFields::normalizeTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("normalized");

    QTest::newRow("one-digit parts") << "9:5" << "05/06/2025" << "09:05";
    QTest::newRow("seconds dropped, not rounded") << "14:30:59" << "05/06/2025" << "14:30";
    QTest::newRow("midnight") << "0:00" << "05/06/2025" << "00:00";
    QTest::newRow("last minute") << "23:59" << "05/06/2025" << "23:59";
    QTest::newRow("blanks around") << " 8:15 " << "05/06/2025" << "08:15";
    QTest::newRow("no colon") << "930" << "05/06/2025" << "";
    QTest::newRow("h separator") << "9h30" << "05/06/2025" << "";
    QTest::newRow("hour 25") << "25:00" << "05/06/2025" << "";
    QTest::newRow("minute 60") << "10:60" << "05/06/2025" << "";
    QTest::newRow("second 60") << "10:10:60" << "05/06/2025" << "";
    QTest::newRow("empty stays empty") << "" << "05/06/2025" << "";
    QTest::newRow("unreadable date") << "10:00" << "hier" << "";
    QTest::newRow("past moment accepted") << "10:00" << "01/01/1990" << "10:00";
}

void tst_SendTimeFields::normalizeTime()
{
    QFETCH(QString, text);
    QFETCH(QString, date);
    QFETCH(QString, normalized);
    QCOMPARE(NormalizeTime(text, date, Today.year()), normalized);
}

QTEST_GUILESS_MAIN(tst_SendTimeFields)
#include "tst_SendTimeFields.moc"
