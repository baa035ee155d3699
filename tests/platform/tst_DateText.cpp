#include "DateText.h"

#include <QTest>

class DateTextTest : public QObject
{
    Q_OBJECT
private slots:
    void readsDayFirstDatesAndTimesWithoutSeconds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");  // invalid: unreadable
        QTest::newRow("short date, blanks, seconds dropped") << " 4/2  23:59:59 " << QDateTime({2031, 2, 4}, {23, 59});
        QTest::newRow("no leap day") << "29/02/2027 12:00" << QDateTime();
        QTest::newRow("three-digit year") << "1/1/202 12:00" << QDateTime();
        QTest::newRow("other separator") << "1.1.2026 12:00" << QDateTime();
        QTest::newRow("non-ASCII digits") << QString::fromUtf8("١/١/2026 12:00") << QDateTime();
        QTest::newRow("hour 24") << "4/12/2026 24:00" << QDateTime();
        QTest::newRow("minute 60") << "4/12/2026 10:60" << QDateTime();
        QTest::newRow("second 60") << "4/12/2026 10:00:60" << QDateTime();
        QTest::newRow("hour only") << "4/12/2026 10" << QDateTime();
        QTest::newRow("three-digit hour") << "4/12/2026 100:00" << QDateTime();
        QTest::newRow("no time") << "4/12/2026" << QDateTime();
    }
    void readsDayFirstDatesAndTimesWithoutSeconds()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        QCOMPARE(DateText::readDateTime(text, 2031).value_or(QDateTime()), expected);
    }
};

QTEST_GUILESS_MAIN(DateTextTest)
#include "tst_DateText.moc"
