#include "RecordingAutomation.h"
#include "Routes.h"

#include <QtTest>

namespace {

enum Route { Outlook, Notes, NotesOpenDatabase, Express };

OutgoingMail mail(const char *to, const char *cc, const char *bcc, const char *attachment)
{
    return {"Réunion", to, cc, bcc, "Bonjour\r\nà demain", attachment};
}

void send(RecordingFactory &factory, int route, const OutgoingMail &mail)
{
    route == Outlook   ? SendWithOutlook(factory, mail)
    : route == Express ? SendWithExpress(factory, mail)
                       : SendWithNotes(factory, mail, automation::Date{46000.5});
}

} // namespace

class RoutesTest : public QObject
{
    Q_OBJECT
private slots:
    // What each route hands its mail client: members by name, in order, each argument with its type.
    void callSequence()
    {
        const QString body = "document put Subject text:Réunion / document put Body text:Bonjour\r\nà demain / "
                             "document put SAVEMESSAGEONSEND bool:true / ";
        const QString notes = "create Notes.NotesSession / Notes.NotesSession get UserName / "
                              "Notes.NotesSession call GETDATABASE text: text:JDupont.nsf / database get IsOpen / ";
        const QString posted = "document put PostedDate date:46000.500000 / document call Send int16:0 empty";
        for (const auto &[route, mail, calls] : std::initializer_list<std::tuple<int, OutgoingMail, QString>>{
                 // Outlook: "To" always written, "cc", "bcc" and the attachment only when there are some.
                 {Outlook, mail("", "", "", ""),
                  "create Outlook.application / Outlook.application call createitem int16:0 / item put Subject text:Réunion / "
                  "item put To text: / item put Body text:Bonjour\r\nà demain / item call Send"},
                 // Notes: OPENMAIL only on a closed database; lists split on every ";", an empty To still written.
                 {Notes, mail("", "", "", ""),
                  notes + "database call OPENMAIL / database call CREATEDOCUMENT / document put Form text:Memo / "
                          "document put SendTo text[0]: / " + body + posted},
                 {NotesOpenDatabase, mail("a@x.fr;b@y.fr;", "c@z.fr", "d@w.fr;e@v.fr", "/tmp/plan.pdf"),
                  notes + "database call CREATEDOCUMENT / document put Form text:Memo / document put SendTo text[3]:a@x.fr|b@y.fr| / "
                          "document put CopyTo text[1]:c@z.fr / document put BlindCopyTo text[2]:d@w.fr|e@v.fr / " + body +
                      "document call CREATERICHTEXTITEM text:Attachment / "
                      "richtext call EMBEDOBJECT int16:1454 text: text:/tmp/plan.pdf text:Attachment / "
                      "document call CREATERICHTEXTITEM text:Attachment / " + posted}}) {
            RecordingFactory factory;
            factory.scriptMailClients("Jean Dupont", route == NotesOpenDatabase);
            send(factory, route, mail);
            QStringList made;
            for (const std::string &call : factory.calls)
                made << QString::fromStdString(call);
            QCOMPARE(made, calls.split(" / "));
            QCOMPARE(factory.live(), 0);
        }
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
                if (route == Outlook)
                    send(factory, route, full);
                else
                    QVERIFY_THROWS_EXCEPTION(automation::Failure, send(factory, route, full));
                QCOMPARE(factory.calls.size(), step + 1);
                QCOMPARE(factory.live(), 0);
            }
        }
    }
};

QTEST_APPLESS_MAIN(RoutesTest)
#include "tst_routes.moc"
