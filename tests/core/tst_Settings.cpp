#include "Settings.h"
#include "TestDesktop.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Tardello.ini")); }

private slots:
    void loadingFollowsTheLineRules_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("client");
        QTest::addColumn<QStringList>("addresses");
        const int outlook = int(MailClient::Outlook), notes = int(MailClient::Notes), express = int(MailClient::Express);
        QTest::newRow("no file") << QByteArray("<none>") << outlook << QStringList{"kept"};
        QTest::newRow("client only") << QByteArray("Client=Express\r\n") << express << QStringList{};
        QTest::newRow("lower case token ignored") << QByteArray("Client=Notes\r\nClient=outlook\r\n") << notes
                                                  << QStringList{};
        QTest::newRow("last valid client wins") << QByteArray("Client=Notes\r\nClient=Express\r\nClient=Bad\r\n")
                                                << express << QStringList{};
        QTest::newRow("addresses in file order, '=' kept, empty kept")
            << QByteArray("Address=b@x.fr\r\n\r\nAddress=a=b\r\nAddress=\r\nClient=Notes\r\nAddress= c \r\n") << notes
            << QStringList{"b@x.fr", "a=b", "", " c "};
        QTest::newRow("odd lines ignored")
            << QByteArray("Address\r\nClient\r\naddress=x\r\nClient =Notes\r\n=Notes\r\nAddress=\xE9\x80\n") << outlook
            << QStringList{"é€"};
    }
    void loadingFollowsTheLineRules()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, client);
        QFETCH(QStringList, addresses);
        TestDesktop desk;
        QFile::remove(path());
        if (content != "<none>") {
            QFile file(path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        MailClientChoice choice;
        ListRows book;
        book.AddItem(QStringLiteral("kept"));
        LoadSettings(path(), choice, book);
        QCOMPARE(int(choice.value()), client);
        QCOMPARE(book.texts(), addresses);
        QVERIFY(desk.messageBox.shown.isEmpty());
    }

    void savingWritesClientThenAddresses()
    {
        TestDesktop desk;
        MailClientChoice choice;
        ListRows book;
        QVERIFY(SaveSettings(path(), choice, book));
        QCOMPARE(desk.files.read(path()).value_or(""), QByteArray("Client=Outlook\r\n"));

        choice.setValue(MailClient::Notes);
        for (const char *address : {"z@x.fr", "a=b", "é@x.fr"})
            book.AddItem(QString::fromUtf8(address));
        QVERIFY(SaveSettings(path(), choice, book));
        const QByteArray written("Client=Notes\r\nAddress=z@x.fr\r\nAddress=a=b\r\nAddress=\xE9@x.fr\r\n");
        QCOMPARE(desk.files.read(path()).value_or(""), written);

        desk.files.failWrites = true;
        choice.setValue(MailClient::Express);
        QVERIFY(!SaveSettings(path(), choice, book));
        QCOMPARE(desk.files.read(path()).value_or(""), written);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_Settings.moc"
