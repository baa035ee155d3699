#include "FakeMapi.h"
#include "MapiMessagesControl.h"
#include "MapiSessionControl.h"
#include "TestHarness.h"
#include "WindowsAutomationFactory.h"

#include <functional>

namespace {
using automation::Variant;
using Messages = MapiMessagesControl;
using Session = MapiSessionControl;

struct Controls
{
    std::unique_ptr<automation::Factory> factory = makeWindowsAutomationFactory(FakeMapi::library);
    automation::ObjectRef session = factory->create("MSMAPI.MAPISession");
    automation::ObjectRef messages = factory->create("MSMAPI.MAPIMessages");

    void signOnAndCompose()
    {
        session->call(Session::SignOn);
        messages->put(Messages::SessionID, session->get(Session::SessionID));
        messages->call(Messages::Compose);
        messages->put(Messages::AddressResolveUI, false);
    }
    void addRecipient(std::int32_t index, std::int16_t type, const std::string &address)
    {
        messages->put(Messages::RecipIndex, index);
        messages->put(Messages::RecipType, type);
        messages->put(Messages::RecipAddress, address);
    }
};
} // namespace

TEST(theControlsHandTheComposedMessageToSimpleMapi)
{
    FakeMapi fake;
    CHECK(fake.loaded());
    fake.reset();
    {
        Controls controls;
        controls.signOnAndCompose();
        controls.addRecipient(0, 1, "a@b.fr");
        controls.addRecipient(1, 3, "c@d.fr");
        controls.addRecipient(2, 2, "");
        controls.messages->put(Messages::MsgSubject, std::string("R\xC3\xA9union"));
        controls.messages->put(Messages::MsgNoteText, std::string("\xC3\xA9t\xC3\xA9\r\n "));
        controls.messages->put(Messages::AttachmentIndex, 0);
        controls.messages->put(Messages::AttachmentPosition, std::int32_t(5));
        controls.messages->put(Messages::AttachmentPathName, std::string("C:\\Docs\\plan.pdf"));
        controls.messages->put(Messages::AttachmentType, std::int16_t(0));
        controls.messages->call(Messages::Send, {false});
        controls.session->call(Session::SignOff);
    }
    // Texts arrive in Windows-1252 (Wine's code page here).
    CHECK_EQ(fake.journal(), std::string("MAPILogon profile=(null) password=(null) flags=2\n"
                                         "MAPISendMail session flags=0\n"
                                         "subject=[R\xE9union] note=[\xE9t\xE9\r\n ]\n"
                                         "recipient class=1 name=[a@b.fr] address=[SMTP:a@b.fr]\n"
                                         "recipient class=3 name=[c@d.fr] address=[SMTP:c@d.fr]\n"
                                         "recipient class=2 name=[] address=[]\n"
                                         "file flags=0 position=5 path=[C:\\Docs\\plan.pdf] name=(null)\n"
                                         "MAPILogoff session\n"));
}

TEST(mapiFailuresReachTheCaller)
{
    struct Case
    {
        const char *label;
        const char *failingFunction;
        unsigned long mapiCode;
        std::function<void(Controls &)> steps;
        std::string member;
        long code;
        bool sent; // whether MAPISendMail was reached
    };
    const auto sendPlain = [](Controls &c) {
        c.signOnAndCompose();
        c.addRecipient(0, 1, "a@b.fr");
        c.messages->put(Messages::MsgNoteText, std::string("x\r\n "));
        c.messages->call(Messages::Send, {false});
    };
    const Case cases[] = {
        {"sign-on refused", "MAPILogon", 3, sendPlain, "SignOn", 3, false},
        {"unknown recipient", "MAPISendMail", 14, sendPlain, "Send", 14, true},
        {"no session", nullptr, 0, [](Controls &c) { c.messages->call(Messages::Send, {false}); }, "Send", 19, false},
        {"recipient index past the end", nullptr, 0, [](Controls &c) { c.signOnAndCompose(); c.addRecipient(1, 1, "a@b.fr"); },
         "RecipIndex", long(E_INVALIDARG), false},
        {"recipient type", nullptr, 0, [](Controls &c) { c.signOnAndCompose(); c.addRecipient(0, 4, "a@b.fr"); }, "RecipType",
         long(E_INVALIDARG), false},
        {"character outside the code page", nullptr, 0,
         [&](Controls &c) {
             c.signOnAndCompose();
             c.messages->put(Messages::MsgSubject, std::string("\xCE\xA9"));
             c.messages->call(Messages::Send, {false});
         },
         "MsgSubject", 2, false},
        {"attachment beyond the note", nullptr, 0,
         [&](Controls &c) {
             c.signOnAndCompose();
             c.messages->put(Messages::MsgNoteText, std::string("x\r\n "));
             c.messages->put(Messages::AttachmentIndex, 0);
             c.messages->put(Messages::AttachmentPosition, 4);
             c.messages->call(Messages::Send, {false});
         },
         "AttachmentPosition", 2, false},
        {"unknown name", nullptr, 0, [](Controls &c) { c.messages->get("RecipDisplayName"); }, "RecipDisplayName", long(DISP_E_UNKNOWNNAME),
         false},
    };
    FakeMapi fake;
    for (const Case &c : cases) {
        harness::caseLabel() = c.label;
        fake.reset(c.failingFunction, c.mapiCode);
        {
            Controls controls;
            CHECK_FAILURE(c.steps(controls), raised);
            CHECK(raised && raised->member() == c.member);
            CHECK(raised && raised->code() == c.code);
        }
        const std::string journal = fake.journal();
        CHECK_EQ(journal.find("MAPISendMail") != std::string::npos, c.sent);
        // A session left open by the failure is closed with its control.
        CHECK_EQ(journal.find("MAPILogon") != std::string::npos && c.mapiCode != 3, journal.find("MAPILogoff session") != std::string::npos);
    }
}

TEST(membersAreFoundByNameWhateverTheCase)
{
    FakeMapi fake;
    fake.reset();
    Controls controls;
    controls.messages->put("msgsubject", std::string("Objet"));
    CHECK(controls.messages->get(Messages::MsgSubject) == Variant(std::string("Objet")));
    controls.session->call("SIGNON");
    CHECK(controls.session->get("SessionID") != Variant(std::int32_t(0)));
}

TEST(aMissingMapiLibraryFailsTheSignOn)
{
    auto factory = makeWindowsAutomationFactory(L"no-such-mapi.dll");
    auto session = factory->create("MSMAPI.MAPISession");
    CHECK_FAILURE(session->call(MapiSessionControl::SignOn), missing);
    CHECK(missing && missing->member() == "SignOn" && missing->code() != 0);
}
