#include "ComFactory.h"
#include "Routes.h"
#include "TestHarness.h"

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
