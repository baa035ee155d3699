#include "ComFactory.h"
#include "FakeMapi.h"
#include "Routes.h"
#include "TestHarness.h"
#include "WindowsAutomationFactory.h"

// Neither Outlook nor Notes is registered under Wine: the routes meet the real
// COM failure of their first step.
TEST(routesMeetUnregisteredMailClients)
{
    ComFactory factory;
    OutgoingMail mail{"Objet", "a@b.fr", "", "", "Bonjour", ""};

    bool outlookReturned = false;
    try {
        SendWithOutlook(factory, mail);
        outlookReturned = true;
    } catch (...) {
    }
    CHECK(outlookReturned);

    CHECK_FAILURE(SendWithNotes(factory, mail, automation::Date{46361.5}), notes);
    CHECK(notes && notes->member() == "Notes.NotesSession" && notes->code() == long(0x800401F3));
}

TEST(expressRouteSendsThroughSimpleMapi)
{
    struct Case
    {
        const char *label;
        OutgoingMail mail;
        std::string expected; // what the substitute MAPI32 receives between logon and logoff
    };
    const std::string to1 = "recipient class=1 name=[a@b.fr] address=[SMTP:a@b.fr]\n";
    const std::string to2 = "recipient class=1 name=[c@d.fr] address=[SMTP:c@d.fr]\n";
    const Case cases[] = {
        {"two To and one BCC", {"Objet", "a@b.fr;c@d.fr", "", "e@f.fr", "Bonjour", ""},
         "subject=[Objet] note=[Bonjour\r\n ]\n" + to1 + to2 + "recipient class=3 name=[e@f.fr] address=[SMTP:e@f.fr]\n"},
        {"CC between To and BCC", {"", "a@b.fr", "c@d.fr", "e@f.fr", "", ""},
         "subject=[] note=[\r\n ]\n" + to1 + "recipient class=2 name=[c@d.fr] address=[SMTP:c@d.fr]\n"
             + "recipient class=3 name=[e@f.fr] address=[SMTP:e@f.fr]\n"},
        {"attachment in place of the last blank", {"Objet", "a@b.fr", "", "", "Bonjour", "C:\\plan.pdf"},
         "subject=[Objet] note=[Bonjour\r\n ]\n" + to1 + "file flags=0 position=9 path=[C:\\plan.pdf] name=(null)\n"},
        {"accented body with attachment", {"\xC3\x89t\xC3\xA9", "a@b.fr", "", "", "D\xC3\xA9j\xC3\xA0", "C:\\plan.pdf"},
         "subject=[\xC9t\xE9] note=[D\xE9j\xE0\r\n ]\n" + to1 + "file flags=0 position=6 path=[C:\\plan.pdf] name=(null)\n"},
        {"list ending in a separator", {"Objet", "a@b.fr;", "", "", "x", ""},
         "subject=[Objet] note=[x\r\n ]\n" + to1 + "recipient class=1 name=[] address=[]\n"},
        {"empty To list", {"Objet", "", "", "", "x", ""}, "subject=[Objet] note=[x\r\n ]\n"},
    };
    FakeMapi fake;
    auto factory = makeWindowsAutomationFactory(FakeMapi::library);
    for (const Case &c : cases) {
        harness::caseLabel() = c.label;
        fake.reset();
        SendWithExpress(*factory, c.mail);
        CHECK_EQ(fake.journal(), "MAPILogon profile=(null) password=(null) flags=2\nMAPISendMail session flags=0\n" + c.expected
                                     + "MAPILogoff session\n");
    }

    harness::caseLabel() = "send refused";
    fake.reset("MAPISendMail", 14);
    CHECK_FAILURE(SendWithExpress(*factory, cases[0].mail), refused);
    CHECK(refused && refused->member() == "Send" && refused->code() == 14);
}
