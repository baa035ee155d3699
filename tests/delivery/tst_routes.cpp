#include "RecordingAutomation.h"
#include "Routes.h"

#include <QtTest>

Q_DECLARE_METATYPE(OutgoingMail)

namespace {

enum Route { Outlook, Notes, NotesOpenDatabase, Express };

OutgoingMail mail(const char *to, const char *cc, const char *bcc, const char *attachment,
                  const char *body = "Bonjour\r\nà demain")
{
    return {"Réunion", to, cc, bcc, body, attachment};
}

void send(RecordingFactory &factory, int route, const OutgoingMail &mail)
{
    route == Outlook   ? SendWithOutlook(factory, mail)
    : route == Express ? SendWithExpress(factory, mail)
                       : SendWithNotes(factory, mail, automation::Date{46000.5});
}

// Calls of the messages object, given without its name.
QString messages(const QString &calls)
{
    return "MSMAPI.MAPIMessages " + calls.split(" / ").join(" / MSMAPI.MAPIMessages ");
}

} // namespace

class RoutesTest : public QObject
{
    Q_OBJECT
private slots:
    // What each route hands its mail client: members by name, in order, each argument with its type.
    void callSequence_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<OutgoingMail>("mail");
        QTest::addColumn<QString>("calls");  // separated by " / "
        const QString body = "document put Subject text:Réunion / document put Body text:Bonjour\r\nà demain / "
                             "document put SAVEMESSAGEONSEND bool:true / ";
        const QString notes = "create Notes.NotesSession / Notes.NotesSession get UserName / "
                              "Notes.NotesSession call GETDATABASE text: text:JDupont.nsf / database get IsOpen / ";
        const QString posted = "document put PostedDate date:46000.500000 / document call Send int16:0 empty";
        const QString express = "create MSMAPI.MAPISession / MSMAPI.MAPISession call #8 / create MSMAPI.MAPIMessages / "
                                "MSMAPI.MAPISession get #5 / " + messages("put #31 int32:4242 / call #35 / put #5 bool:false");
        const auto recipient = [](int index, int type, const char *address) {
            return messages(QString("put #29 int32:%1 / put #30 int16:%2 / put #26 text:%3").arg(index).arg(type).arg(address));
        };
        const QString closing = messages("call #43 bool:false") + " / MSMAPI.MAPISession call #9";
        const QString outlook = "create Outlook.application / Outlook.application call createitem int16:0 / "
                                "item put Subject text:Réunion / item put To text:";
        const QString outlookBody = "item put Body text:Bonjour\r\nà demain / ";
        // Outlook: "To" always written, "cc", "bcc" and the attachment only when there are some.
        QTest::newRow("Outlook, empty To only") << int(Outlook) << mail("", "", "", "") << outlook + " / " + outlookBody + "item call Send";
        QTest::newRow("Outlook, everything") << int(Outlook) << mail("a@x.fr;b@y.fr;c@z.fr", "c@z.fr", "d@w.fr", "/tmp/plan.pdf")
            << outlook + "a@x.fr;b@y.fr;c@z.fr / item put cc text:c@z.fr / item put bcc text:d@w.fr / " + outlookBody
                   + "item get Attachments / attachments call Add text:/tmp/plan.pdf / item call Send";
        // Notes: OPENMAIL only on a closed database; lists split on every ";", an empty To still written.
        QTest::newRow("Notes, closed database, empty To only") << int(Notes) << mail("", "", "", "")
            << notes + "database call OPENMAIL / database call CREATEDOCUMENT / document put Form text:Memo / "
                       "document put SendTo text[0]: / " + body + posted;
        QTest::newRow("Notes, open database, everything")
            << int(NotesOpenDatabase) << mail("a@x.fr;b@y.fr;", "c@z.fr", "d@w.fr;e@v.fr", "/tmp/plan.pdf")
            << notes + "database call CREATEDOCUMENT / document put Form text:Memo / "
                       "document put SendTo text[3]:a@x.fr|b@y.fr| / document put CopyTo text[1]:c@z.fr / "
                       "document put BlindCopyTo text[2]:d@w.fr|e@v.fr / " + body +
                   "document call CREATERICHTEXTITEM text:Attachment / "
                   "richtext call EMBEDOBJECT int16:1454 text: text:/tmp/plan.pdf text:Attachment / "
                   "document call CREATERICHTEXTITEM text:Attachment / " + posted;
        // Express: one running recipient index, the note ends in CR LF and a blank that the attachment
        // takes; positions count UTF-16 units ("Déjà" is 4, the emoji 2).
        QTest::newRow("Express, two To, one BCC, no attachment")
            << int(Express) << mail("a@x.fr;b@y.fr", "", "d@w.fr", "", "Bonjour")
            << QStringList{express, recipient(0, 1, "a@x.fr"), recipient(1, 1, "b@y.fr"), recipient(2, 3, "d@w.fr"),
                           messages("put #32 text:Réunion / put #20 text:Bonjour\r\n "), closing}.join(" / ");
        QTest::newRow("Express, CC with trailing separator, non-ASCII note, attachment")
            << int(Express) << mail("a@x.fr", "c@z.fr;", "", "/f", "Déjà 😀")
            << QStringList{express, recipient(0, 1, "a@x.fr"), recipient(1, 2, "c@z.fr"), recipient(2, 2, ""),
                           messages("put #32 text:Réunion / put #20 text:Déjà 😀\r\n "),
                           messages("put #7 int32:0 / get #20 / put #10 int32:9 / put #9 text:/f / put #11 int16:0"),
                           closing}.join(" / ");
    }

    void callSequence()
    {
        QFETCH(int, route);
        QFETCH(OutgoingMail, mail);
        QFETCH(QString, calls);
        RecordingFactory factory;
        factory.scriptMailClients("Jean Dupont", route == NotesOpenDatabase);
        send(factory, route, mail);
        QStringList made;
        for (const std::string &call : factory.calls)
            made << QString::fromStdString(call);
        QCOMPARE(made, calls.split(" / "));
        QCOMPARE(factory.live(), 0);
    }

    void notesMailFileName()
    {
        for (const auto &[user, file] : {std::pair{"Dupont", "DDupont.nsf"}, {"", ".nsf"}, {"Jean Paul Dupont", "JPaul Dupont.nsf"},
                                       {"Émile Zola", "ÉZola.nsf"}})
            QCOMPARE(NotesMailFileName(user), std::string(file));
    }

    // A failing call ends the route at once, releases every object and raises,
    // except on Outlook, which swallows it.
    void failureAtEveryStep()
    {
        const OutgoingMail full = mail("a@x.fr", "c@z.fr", "d@w.fr", "/tmp/plan.pdf");
        for (int route : {Outlook, Notes, Express}) {
            RecordingFactory clean;
            send(clean, route, full);
            QVERIFY(clean.calls.size() >= 10);
            for (std::size_t step = 0; step < clean.calls.size(); ++step) {
                RecordingFactory factory;
                factory.failAt = int(step);
                bool raised = false;
                try {
                    send(factory, route, full);
                } catch (const automation::Failure &) {
                    raised = true;
                }
                QCOMPARE(raised, route != Outlook);
                QCOMPARE(factory.calls.size(), step + 1);
                QCOMPARE(factory.live(), 0);
            }
        }
    }
};

QTEST_APPLESS_MAIN(RoutesTest)
#include "tst_routes.moc"
