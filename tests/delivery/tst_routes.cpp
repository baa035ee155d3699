#include "RecordingAutomation.h"
#include "Routes.h"

#include <QtTest>

using Lines = QStringList;
Q_DECLARE_METATYPE(OutgoingMail)

namespace {

QStringList toQt(const std::vector<std::string> &lines)
{
    QStringList out;
    for (const std::string &line : lines)
        out << QString::fromStdString(line);
    return out;
}

OutgoingMail mail(const char *to, const char *cc, const char *bcc, const char *attachment,
                  const char *body = "Bonjour\r\nà demain")
{
    return {"Réunion", to, cc, bcc, body, attachment};
}

const automation::Date Posted{46000.5};

} // namespace

class RoutesTest : public QObject
{
    Q_OBJECT
private slots:
    void outlookCalls_data();
    void outlookCalls();
    void notesCalls_data();
    void notesCalls();
    void notesMailFileName_data();
    void notesMailFileName();
    void expressCalls_data();
    void expressCalls();
    void failureAtEveryStep_data();
    void failureAtEveryStep();
};

void RoutesTest::outlookCalls_data()
{
    QTest::addColumn<OutgoingMail>("mail");
    QTest::addColumn<Lines>("expected");
    QTest::newRow("to only") << mail("", "", "", "")
                             << Lines{"create Outlook.application", "Outlook.application call createitem int16:0",
                                      "item put Subject text:Réunion", "item put To text:",
                                      "item put Body text:Bonjour\r\nà demain", "item call Send"};
    QTest::newRow("cc, bcc, attachment")
        << mail("a@x.fr;b@y.fr;c@z.fr", "c@z.fr", "d@w.fr", "/tmp/plan.pdf")
        << Lines{"create Outlook.application", "Outlook.application call createitem int16:0",
                 "item put Subject text:Réunion", "item put To text:a@x.fr;b@y.fr;c@z.fr", "item put cc text:c@z.fr",
                 "item put bcc text:d@w.fr", "item put Body text:Bonjour\r\nà demain", "item get Attachments",
                 "attachments call Add text:/tmp/plan.pdf", "item call Send"};
}

void RoutesTest::outlookCalls()
{
    QFETCH(OutgoingMail, mail);
    QFETCH(Lines, expected);
    RecordingFactory factory;
    factory.scriptMailClients();
    SendWithOutlook(factory, mail);
    QCOMPARE(toQt(factory.calls), expected);
    QCOMPARE(factory.live(), 0);
}

void RoutesTest::notesCalls_data()
{
    QTest::addColumn<OutgoingMail>("mail");
    QTest::addColumn<bool>("databaseOpen");
    QTest::addColumn<Lines>("expected");
    const Lines opening{"create Notes.NotesSession", "Notes.NotesSession get UserName",
                        "Notes.NotesSession call GETDATABASE text: text:JDupont.nsf", "database get IsOpen"};
    QTest::newRow("closed database, to only")
        << mail("a@x.fr", "", "", "") << false
        << opening + Lines{"database call OPENMAIL", "database call CREATEDOCUMENT", "document put Form text:Memo",
                           "document put SendTo text[1]:a@x.fr", "document put Subject text:Réunion",
                           "document put Body text:Bonjour\r\nà demain", "document put SAVEMESSAGEONSEND bool:true",
                           "document put PostedDate date:46000.500000", "document call Send int16:0 empty"};
    QTest::newRow("open database, everything")
        << mail("a@x.fr;b@y.fr;", "c@z.fr", "d@w.fr;e@v.fr", "/tmp/plan.pdf") << true
        << opening + Lines{"database call CREATEDOCUMENT", "document put Form text:Memo",
                           "document put SendTo text[3]:a@x.fr|b@y.fr|", "document put CopyTo text[1]:c@z.fr",
                           "document put BlindCopyTo text[2]:d@w.fr|e@v.fr", "document put Subject text:Réunion",
                           "document put Body text:Bonjour\r\nà demain", "document put SAVEMESSAGEONSEND bool:true",
                           "document call CREATERICHTEXTITEM text:Attachment",
                           "richtext call EMBEDOBJECT int16:1454 text: text:/tmp/plan.pdf text:Attachment",
                           "document call CREATERICHTEXTITEM text:Attachment",
                           "document put PostedDate date:46000.500000", "document call Send int16:0 empty"};
    QTest::newRow("empty to still written")
        << mail("", "c@z.fr", "", "") << true
        << opening + Lines{"database call CREATEDOCUMENT", "document put Form text:Memo", "document put SendTo text[0]:",
                           "document put CopyTo text[1]:c@z.fr", "document put Subject text:Réunion",
                           "document put Body text:Bonjour\r\nà demain", "document put SAVEMESSAGEONSEND bool:true",
                           "document put PostedDate date:46000.500000", "document call Send int16:0 empty"};
}

void RoutesTest::notesCalls()
{
    QFETCH(OutgoingMail, mail);
    QFETCH(bool, databaseOpen);
    QFETCH(Lines, expected);
    RecordingFactory factory;
    factory.scriptMailClients("Jean Dupont", databaseOpen);
    SendWithNotes(factory, mail, Posted);
    QCOMPARE(toQt(factory.calls), expected);
    QCOMPARE(factory.live(), 0);
}

void RoutesTest::notesMailFileName_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("file");
    QTest::newRow("first and last name") << "Jean Dupont" << "JDupont.nsf";
    QTest::newRow("no blank") << "Dupont" << "DDupont.nsf";
    QTest::newRow("empty") << "" << ".nsf";
    QTest::newRow("two blanks") << "Jean Paul Dupont" << "JPaul Dupont.nsf";
    QTest::newRow("accented initial") << "Émile Zola" << "ÉZola.nsf";
    QTest::newRow("trailing blank") << "Jean " << "J.nsf";
}

void RoutesTest::notesMailFileName()
{
    QFETCH(QString, user);
    QFETCH(QString, file);
    QCOMPARE(QString::fromStdString(NotesMailFileName(user.toStdString())), file);
}

void RoutesTest::expressCalls_data()
{
    QTest::addColumn<OutgoingMail>("mail");
    QTest::addColumn<Lines>("expected");
    const Lines opening{"create MSMAPI.MAPISession", "MSMAPI.MAPISession call #8", "create MSMAPI.MAPIMessages",
                        "MSMAPI.MAPISession get #5", "MSMAPI.MAPIMessages put #31 int32:4242",
                        "MSMAPI.MAPIMessages call #35", "MSMAPI.MAPIMessages put #5 bool:false"};
    const auto recipient = [](int index, int type, const char *address) {
        return Lines{QString("MSMAPI.MAPIMessages put #29 int32:%1").arg(index),
                     QString("MSMAPI.MAPIMessages put #30 int16:%1").arg(type),
                     QString("MSMAPI.MAPIMessages put #26 text:") + QString::fromUtf8(address)};
    };
    const Lines closing{"MSMAPI.MAPIMessages call #43 bool:false", "MSMAPI.MAPISession call #9"};
    QTest::newRow("two to, one bcc, no attachment")
        << mail("a@x.fr;b@y.fr", "", "d@w.fr", "", "Bonjour")
        << opening + recipient(0, 1, "a@x.fr") + recipient(1, 1, "b@y.fr") + recipient(2, 3, "d@w.fr") +
               Lines{"MSMAPI.MAPIMessages put #32 text:Réunion", "MSMAPI.MAPIMessages put #20 text:Bonjour\r\n "} +
               closing;
    QTest::newRow("cc with trailing separator, attachment")
        << mail("a@x.fr", "c@z.fr;", "", "/tmp/plan.pdf", "Bonjour")
        << opening + recipient(0, 1, "a@x.fr") + recipient(1, 2, "c@z.fr") + recipient(2, 2, "") +
               Lines{"MSMAPI.MAPIMessages put #32 text:Réunion", "MSMAPI.MAPIMessages put #20 text:Bonjour\r\n ",
                     "MSMAPI.MAPIMessages put #7 int32:0", "MSMAPI.MAPIMessages get #20",
                     "MSMAPI.MAPIMessages put #10 int32:9", "MSMAPI.MAPIMessages put #9 text:/tmp/plan.pdf",
                     "MSMAPI.MAPIMessages put #11 int16:0"} +
               closing;
    // Positions count UTF-16 units: "Déjà" is 4, the emoji 2.
    QTest::newRow("non-ASCII note, attachment")
        << mail("", "", "", "/f", "Déjà 😀")
        << opening +
               Lines{"MSMAPI.MAPIMessages put #32 text:Réunion", "MSMAPI.MAPIMessages put #20 text:Déjà 😀\r\n ",
                     "MSMAPI.MAPIMessages put #7 int32:0", "MSMAPI.MAPIMessages get #20",
                     "MSMAPI.MAPIMessages put #10 int32:9", "MSMAPI.MAPIMessages put #9 text:/f",
                     "MSMAPI.MAPIMessages put #11 int16:0"} +
               closing;
}

void RoutesTest::expressCalls()
{
    QFETCH(OutgoingMail, mail);
    QFETCH(Lines, expected);
    RecordingFactory factory;
    factory.scriptMailClients();
    SendWithExpress(factory, mail);
    QCOMPARE(toQt(factory.calls), expected);
    QCOMPARE(factory.live(), 0);
}

void RoutesTest::failureAtEveryStep_data()
{
    QTest::addColumn<int>("route");
    QTest::newRow("Outlook swallows") << 0;
    QTest::newRow("Notes raises") << 1;
    QTest::newRow("Express raises") << 2;
}

void RoutesTest::failureAtEveryStep()
{
    QFETCH(int, route);
    const OutgoingMail full = mail("a@x.fr", "c@z.fr", "d@w.fr", "/tmp/plan.pdf");
    const auto run = [&](RecordingFactory &factory) {
        switch (route) {
        case 0: SendWithOutlook(factory, full); break;
        case 1: SendWithNotes(factory, full, Posted); break;
        default: SendWithExpress(factory, full); break;
        }
    };
    RecordingFactory clean;
    clean.scriptMailClients();
    run(clean);
    const std::size_t steps = clean.calls.size();
    QVERIFY(steps >= 10);

    for (std::size_t step = 0; step < steps; ++step) {
        RecordingFactory factory;
        factory.scriptMailClients();
        factory.failAt = int(step);
        bool raised = false;
        try {
            run(factory);
        } catch (const automation::Failure &) {
            raised = true;
        }
        QCOMPARE(raised, route != 0);
        QCOMPARE(factory.calls.size(), step + 1);  // nothing after the failing call
        QCOMPARE(factory.live(), 0);
    }
}

QTEST_APPLESS_MAIN(RoutesTest)
#include "tst_routes.moc"
