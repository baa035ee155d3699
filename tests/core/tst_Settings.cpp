#include "Settings.h"
#include "TestProgram.h"

class SettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void loadingFollowsTheLineRulesAndSavingWritesClientThenAddresses_data()
    {
        QTest::addColumn<QByteArray>("content");  // empty: no file
        QTest::addColumn<int>("client");
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<QByteArray>("saved");
        const int outlook = int(MailClient::Outlook), notes = int(MailClient::Notes), express = int(MailClient::Express);
        QTest::newRow("no file") << QByteArray() << outlook << QStringList{"kept"} << QByteArray("Client=Outlook\r\nAddress=kept\r\n");
        QTest::newRow("last valid client wins, lower case ignored")
            << QByteArray("Client=Notes\r\nClient=Express\r\nClient=outlook\r\nClient=Bad\r\n") << express << QStringList{}
            << QByteArray("Client=Express\r\n");
        QTest::newRow("addresses in file order, '=' kept, empty kept")
            << QByteArray("Address=b@x.fr\r\n\r\nAddress=a=b\r\nAddress=\r\nClient=Notes\r\nAddress= c \r\n") << notes
            << QStringList{"b@x.fr", "a=b", "", " c "} << QByteArray("Client=Notes\r\nAddress=b@x.fr\r\nAddress=a=b\r\nAddress=\r\nAddress= c \r\n");
        QTest::newRow("odd lines ignored, code page")
            << QByteArray("Address\r\nClient\r\naddress=x\r\nClient =Notes\r\n=Notes\r\nAddress=\xE9\x80\n") << outlook
            << QStringList{"é€"} << QByteArray("Client=Outlook\r\nAddress=\xE9\x80\r\n");
        QTest::newRow("an address with a line break: escaped addresses")
            << QByteArray("Client=Notes\r\nEchappement=1\r\nAddress=Anne\\r\\n<a@x.fr>\r\nAddress=c:\\\\d\r\n") << notes
            << QStringList{"Anne\r\n<a@x.fr>", "c:\\d"}
            << QByteArray("Client=Notes\r\nEchappement=1\r\nAddress=Anne\\r\\n<a@x.fr>\r\nAddress=c:\\\\d\r\n");
    }
    void loadingFollowsTheLineRulesAndSavingWritesClientThenAddresses()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, client);
        QFETCH(QStringList, addresses);
        QFETCH(QByteArray, saved);
        TestProgram t;
        const QString path = t.program.paths.SettingsPath;
        MailClientChoice &choice = t.program.mailClient;
        ListRows &book = t.program.AddressBook;
        QVERIFY(content.isEmpty() || t.desk.files.write(path, content));
        book.AddItem(QStringLiteral("kept"));
        LoadSettings(path, choice, book);
        QCOMPARE(int(choice.value()), client);
        QCOMPARE(book.texts(), addresses);
        QVERIFY(SaveSettings(path, choice, book));
        QCOMPARE(t.desk.files.read(path).value_or(""), saved);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "tst_Settings.moc"
