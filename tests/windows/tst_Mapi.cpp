#include "AnsiCodePage.h"
#include "Routes.h"
#include "WindowsAutomationFactory.h"
#include "WindowsTestSupport.h"
#include "automation/MapiDispIds.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <tuple>

// The substitute MAPI32, linked to the tests and loaded again by name by the controls.
extern "C" __declspec(dllimport) const char *FakeMapiJournal();
// Forgets what was received; the named function then fails with code.
extern "C" __declspec(dllimport) void FakeMapiReset(const char *function, unsigned long code);

namespace {
struct Controls
{
    std::unique_ptr<automation::Factory> factory = makeWindowsAutomationFactory(L"fakemapi32.dll");
    automation::ObjectRef session = factory->create("MSMAPI.MAPISession");
    automation::ObjectRef messages = factory->create("MSMAPI.MAPIMessages");
};

// What the substitute receives, and the failure raised (none when member is empty); failingFunction fails with code.
struct Case
{
    const char *label;
    std::function<void(Controls &)> steps;
    std::string journal, member = "";
    long code = 0;
    const char *failingFunction = nullptr;
};

const std::string logon = "MAPILogon profile=(null) password=(null) flags=2\n", logoff = "MAPILogoff session\n";

std::string sent(const std::string &subject, const std::string &note, int flags = 0)
{
    return "MAPISendMail session flags=" + std::to_string(flags) + "\nsubject=[" + subject + "] note=[" + note + "]\n";
}
std::string recipient(int type, const std::string &name, const std::string &address)
{
    return "recipient class=" + std::to_string(type) + " name=[" + name + "] address=[" + address + "]\n";
}
std::function<void(Controls &)> express(OutgoingMail mail) { return [mail](Controls &c) { SendWithExpress(*c.factory, mail); }; }
} // namespace

const std::string toA = recipient(1, "a@b.fr", "SMTP:a@b.fr");
const Case cases[] = {
    // Order, classes, accents and the attachment's position go through the program end to end.
    {"address already prefixed, trailing separator", express({"Objet", "SMTP:c@d.fr", "", "g@h.fr;", "Bonjour", ""}),
     logon + sent("Objet", "Bonjour\r\n ") + recipient(1, "SMTP:c@d.fr", "SMTP:c@d.fr")
         + recipient(3, "g@h.fr", "SMTP:g@h.fr") + recipient(3, "", "") + logoff},
    {"no recipient", express({"", "", "", "", "", ""}), logon + sent("", "\r\n ") + logoff},
    {"members named in any case, with the dialog",
     [](Controls &c) {
         c.session->call("SIGNON"), c.messages->put("sessionid", c.session->get("SessionID"));
         c.messages->put("RECIPADDRESS", std::string("a@b.fr")), c.messages->call("send", {true});
     },
     logon + sent("", "", 8) + toA + logoff},
    {"sign-on refused", express({"Objet", "a@b.fr", "", "", "x", ""}), logon, "SignOn", 3, "MAPILogon"},
    {"send refused, session closed", express({"Objet", "a@b.fr", "", "", "x", ""}),
     logon + sent("Objet", "x\r\n ") + toA + logoff, "Send", 14, "MAPISendMail"},
    {"character outside the code page", express({"\xCE\xA9", "a@b.fr", "", "", "x", ""}), logon + logoff, "MsgSubject", 2},
    {"attachment beyond the note",
     [](Controls &c) {
         c.session->call(MapiSession::SignOn), c.messages->put(MapiMessages::SessionID, c.session->get(MapiSession::SessionID));
         c.messages->put(MapiMessages::MsgNoteText, std::string("x")), c.messages->put(MapiMessages::AttachmentPosition, 1);
         c.messages->call(MapiMessages::Send, {false});
     },
     logon + logoff, "AttachmentPosition", 2},
    {"no session", [](Controls &c) { c.messages->call(MapiMessages::Send, {false}); }, "", "Send", 19},
    {"recipient index past the end", [](Controls &c) { c.messages->put(MapiMessages::RecipIndex, 1); }, "", "RecipIndex", E_INVALIDARG},
    {"recipient type", [](Controls &c) { c.messages->put(MapiMessages::RecipType, std::int16_t(4)); }, "", "RecipType", E_INVALIDARG},
    {"unknown name", [](Controls &c) { c.messages->get("RecipDisplayName"); }, "", "RecipDisplayName", DISP_E_UNKNOWNNAME},
    {"no MAPI library",
     [](Controls &) { makeWindowsAutomationFactory(L"no-such-mapi.dll")->create("MSMAPI.MAPISession")->call(MapiSession::SignOn); },
     "", "SignOn", ERROR_MOD_NOT_FOUND},
};

class tst_Mapi : public QObject
{
    Q_OBJECT
private slots:
    void simpleMapiReceivesWhatTheControlsCompose()
    {
        for (const Case &c : cases) {
            qInfo("%s", c.label);  // names the case that a failure below belongs to
            FakeMapiReset(c.failingFunction, c.code);
            {
                Controls controls;
                CHECK_FAILURE(c.steps(controls), c.member, c.code);
                controls.session.reset();  // a session left open is closed by its control
                controls.messages.reset();
                QCOMPARE(std::string(FakeMapiJournal()), c.journal);
            }
            QCOMPARE(std::string(FakeMapiJournal()), c.journal);
        }
    }

    // Simple MAPI's texts are converted only when the code page holds every character.
    void ansiTextsHoldOnlyWhatTheCodePageHolds()
    {
        // UTF-8 spelled out, so that the test does not depend on the source's encoding.
        const std::tuple<unsigned, std::string, std::optional<std::string>> texts[] = {
            {1252, "", std::string()},
            {1252, "d\xC3\xA9j\xC3\xA9\r\n", std::string("d\xE9j\xE9\r\n")},
            {1252, "\xE2\x82\xAC", std::string("\x80")},  // the euro sits at 0x80
            {1252, "Ko\xC5\x82o", std::nullopt},          // best fit would quietly write "l" for the Polish letter
            {1252, "Caf\xC3\xA9 \xF0\x9F\x93\xA7", std::nullopt},
            {1251, "\xD0\x96", std::string("\xC6")},
            {1251, "\xC3\xA9", std::nullopt},
        };
        for (const auto &[codePage, utf8, bytes] : texts)
            QCOMPARE(AnsiCodePage::fromUtf8(utf8, codePage), bytes);
    }
};

QTEST_APPLESS_MAIN(tst_Mapi)
#include "tst_Mapi.moc"
