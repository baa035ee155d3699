#include "DateText.h"

#include <QTest>

class DateTextTest : public QObject
{
    Q_OBJECT
private slots:
    void formatsAreZeroPadded()
    {
        QCOMPARE(DateText::formatDateTime(QDate(987, 3, 5), QTime(7, 4)), QStringLiteral("05/03/0987 07:04"));
        QCOMPARE(DateText::formatMinuteKey(QTime(23, 9)), QStringLiteral("23/09"));
    }

    void datesAreReadDayFirst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");  // invalid: unreadable
        QTest::newRow("full") << "04/12/2026" << QDate(2026, 12, 4);
        QTest::newRow("short, blanks around") << "  4/2 " << QDate(2031, 2, 4);
        QTest::newRow("two-digit year 49") << "1/1/49" << QDate(2049, 1, 1);
        QTest::newRow("two-digit year 50") << "1/1/50" << QDate(1950, 1, 1);
        QTest::newRow("leap day") << "29/02/2028" << QDate(2028, 2, 29);
        QTest::newRow("no leap day") << "29/02/2027" << QDate();
        QTest::newRow("31 April") << "31/04/2026" << QDate();
        QTest::newRow("month 13") << "1/13/2026" << QDate();
        QTest::newRow("three-digit year") << "1/1/202" << QDate();
        QTest::newRow("other separator") << "1.1.2026" << QDate();
        QTest::newRow("inner blank") << "1/ 1/2026" << QDate();
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("١/١/2026") << QDate();
        QTest::newRow("empty") << "" << QDate();
    }
    void datesAreReadDayFirst()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        const auto read = DateText::readDate(text, 2031);
        QCOMPARE(read.value_or(QDate()), expected);
    }

    void timesAreReadWithoutSeconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QTime>("expected");
        QTest::newRow("h:m") << "9:5" << QTime(9, 5);
        QTest::newRow("seconds dropped") << " 23:59:59 " << QTime(23, 59);
        QTest::newRow("hour 24") << "24:00" << QTime();
        QTest::newRow("minute 60") << "10:60" << QTime();
        QTest::newRow("second 60") << "10:00:60" << QTime();
        QTest::newRow("hour only") << "10" << QTime();
        QTest::newRow("three digits") << "100:00" << QTime();
    }
    void timesAreReadWithoutSeconds()
    {
        QFETCH(QString, text);
        QFETCH(QTime, expected);
        QCOMPARE(DateText::readTime(text).value_or(QTime()), expected);
    }

    void dateAndTimeAreReadTogether()
    {
        QCOMPARE(DateText::readDateTime(QStringLiteral("04/12/2026  18:30"), 2000).value_or(QDateTime()),
                 QDateTime(QDate(2026, 12, 4), QTime(18, 30)));
        QVERIFY(!DateText::readDateTime(QStringLiteral("04/12/2026"), 2000));
        QVERIFY(!DateText::readDateTime(QStringLiteral("04/12/2026 25:00"), 2000));
    }
};

QTEST_GUILESS_MAIN(DateTextTest)
#include "tst_DateText.moc"
