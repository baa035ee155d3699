#include "Routes.h"
#include "automation/MailTexts.h"
#include "automation/MapiDispIds.h"

using namespace automation;

namespace {

void addRecipients(Object &messages, const std::string &list, std::int16_t type, std::int32_t &index)
{
    for (const std::string &address : SplitRecipients(list)) {
        messages.put(MapiMessages::RecipIndex, index);
        messages.put(MapiMessages::RecipType, type);
        messages.put(MapiMessages::RecipAddress, address);
        ++index;
    }
}

} // namespace

void SendWithExpress(Factory &factory, const OutgoingMail &mail)
{
    ObjectRef session = factory.create("MSMAPI.MAPISession");
    session->call(MapiSession::SignOn);
    ObjectRef messages = factory.create("MSMAPI.MAPIMessages");
    messages->put(MapiMessages::SessionID, asInt(session->get(MapiSession::SessionID), "SessionID"));
    messages->call(MapiMessages::Compose);
    messages->put(MapiMessages::AddressResolveUI, false);

    std::int32_t index = 0;
    addRecipients(*messages, mail.to, 1, index);
    if (!mail.cc.empty())
        addRecipients(*messages, mail.cc, 2, index);
    if (!mail.bcc.empty())
        addRecipients(*messages, mail.bcc, 3, index);

    messages->put(MapiMessages::MsgSubject, mail.subject);
    // The trailing blank is the place the attachment takes in the note.
    messages->put(MapiMessages::MsgNoteText, mail.body + "\r\n ");
    if (!mail.attachment.empty()) {
        messages->put(MapiMessages::AttachmentIndex, std::int32_t(0));
        const std::string note = asText(messages->get(MapiMessages::MsgNoteText), "MsgNoteText");
        messages->put(MapiMessages::AttachmentPosition, Utf16Length(note) - 1);
        messages->put(MapiMessages::AttachmentPathName, mail.attachment);
        messages->put(MapiMessages::AttachmentType, std::int16_t(0));
    }
    messages->call(MapiMessages::Send, {false});

    messages.reset();
    session->call(MapiSession::SignOff);
}
