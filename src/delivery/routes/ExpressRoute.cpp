#include "RouteTexts.h"
#include "Routes.h"

using namespace automation;

namespace {

// Dispatch identifiers of the MAPI session and messages controls.
namespace SessionId {
constexpr int SessionID = 5, SignOn = 8, SignOff = 9;
}
namespace MessagesId {
constexpr int AddressResolveUI = 5, AttachmentIndex = 7, AttachmentPathName = 9, AttachmentPosition = 10,
              AttachmentType = 11, MsgNoteText = 20, RecipAddress = 26, RecipIndex = 29, RecipType = 30,
              SessionID = 31, MsgSubject = 32, Compose = 35, Send = 43;
}

void addRecipients(Object &messages, const std::string &list, std::int16_t type, std::int32_t &index)
{
    for (const std::string &address : SplitRecipients(list)) {
        messages.put(MessagesId::RecipIndex, index);
        messages.put(MessagesId::RecipType, type);
        messages.put(MessagesId::RecipAddress, address);
        ++index;
    }
}

} // namespace

void SendWithExpress(Factory &factory, const OutgoingMail &mail)
{
    ObjectRef session = factory.create("MSMAPI.MAPISession");
    session->call(SessionId::SignOn);
    ObjectRef messages = factory.create("MSMAPI.MAPIMessages");
    messages->put(MessagesId::SessionID, asInt(session->get(SessionId::SessionID), "SessionID"));
    messages->call(MessagesId::Compose);
    messages->put(MessagesId::AddressResolveUI, false);

    std::int32_t index = 0;
    addRecipients(*messages, mail.to, 1, index);
    if (!mail.cc.empty())
        addRecipients(*messages, mail.cc, 2, index);
    if (!mail.bcc.empty())
        addRecipients(*messages, mail.bcc, 3, index);

    messages->put(MessagesId::MsgSubject, mail.subject);
    // The trailing blank is the place the attachment takes in the note.
    messages->put(MessagesId::MsgNoteText, mail.body + "\r\n ");
    if (!mail.attachment.empty()) {
        messages->put(MessagesId::AttachmentIndex, std::int32_t(0));
        const std::string note = asText(messages->get(MessagesId::MsgNoteText), "MsgNoteText");
        messages->put(MessagesId::AttachmentPosition, Utf16Length(note) - 1);
        messages->put(MessagesId::AttachmentPathName, mail.attachment);
        messages->put(MessagesId::AttachmentType, std::int16_t(0));
    }
    messages->call(MessagesId::Send, {false});

    messages.reset();
    session->call(SessionId::SignOff);
}
