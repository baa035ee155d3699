#include "MapiMessagesControl.h"

namespace {

// The control's own answer to an out-of-range index or value.
constexpr long invalidValue = static_cast<long>(0x80070057); // E_INVALIDARG

std::int32_t indexIn(const automation::Variant &value, const char *member, size_t count)
{
    const std::int32_t index = automation::asInt(value, member);
    if (index < 0 || static_cast<size_t>(index) > count)
        throw automation::Failure(member, "index " + std::to_string(index) + " out of range 0.." + std::to_string(count), invalidValue);
    return index;
}

std::int16_t typeIn(const automation::Variant &value, const char *member, int lowest, int highest)
{
    const std::int32_t type = automation::asInt(value, member);
    if (type < lowest || type > highest)
        throw automation::Failure(member, "invalid type " + std::to_string(type), invalidValue);
    return static_cast<std::int16_t>(type);
}

} // namespace

MapiMessagesControl::MapiMessagesControl(std::shared_ptr<SimpleMapi> mapi)
    : MapiControl("MSMAPI.MAPIMessages",
                  {{"AddressResolveUI", AddressResolveUI},
                   {"AttachmentIndex", AttachmentIndex},
                   {"AttachmentPathName", AttachmentPathName},
                   {"AttachmentPosition", AttachmentPosition},
                   {"AttachmentType", AttachmentType},
                   {"MsgNoteText", MsgNoteText},
                   {"RecipAddress", RecipAddress},
                   {"RecipIndex", RecipIndex},
                   {"RecipType", RecipType},
                   {"SessionID", SessionID},
                   {"MsgSubject", MsgSubject},
                   {"Compose", Compose},
                   {"Send", Send}}),
      mapi_(std::move(mapi))
{
}

ComposedMessage::Recipient &MapiMessagesControl::recipientToWrite()
{
    if (static_cast<size_t>(recipIndex_) == message_.recipients.size())
        message_.recipients.emplace_back();
    return message_.recipients[static_cast<size_t>(recipIndex_)];
}

ComposedMessage::Attachment &MapiMessagesControl::attachmentToWrite()
{
    if (static_cast<size_t>(attachmentIndex_) == message_.attachments.size())
        message_.attachments.emplace_back();
    return message_.attachments[static_cast<size_t>(attachmentIndex_)];
}

const ComposedMessage::Recipient *MapiMessagesControl::recipientToRead() const
{
    const size_t index = static_cast<size_t>(recipIndex_);
    return index < message_.recipients.size() ? &message_.recipients[index] : nullptr;
}

const ComposedMessage::Attachment *MapiMessagesControl::attachmentToRead() const
{
    const size_t index = static_cast<size_t>(attachmentIndex_);
    return index < message_.attachments.size() ? &message_.attachments[index] : nullptr;
}

automation::Variant MapiMessagesControl::getMember(int dispId)
{
    const auto *recipient = recipientToRead();
    const auto *attachment = attachmentToRead();
    switch (dispId) {
    case SessionID: return session_;
    case AddressResolveUI: return addressResolveUI_;
    case MsgSubject: return message_.subject;
    case MsgNoteText: return message_.noteText;
    case RecipIndex: return recipIndex_;
    case RecipType: return recipient ? recipient->type : std::int16_t(1);
    case RecipAddress: return recipient ? recipient->address : std::string();
    case AttachmentIndex: return attachmentIndex_;
    case AttachmentPosition: return attachment ? attachment->position : std::int32_t(-1);
    case AttachmentPathName: return attachment ? attachment->pathName : std::string();
    case AttachmentType: return attachment ? attachment->type : std::int16_t(0);
    }
    unknownMember(dispId, "read");
}

void MapiMessagesControl::putMember(int dispId, const automation::Variant &value)
{
    const std::string member = nameOf(dispId);
    switch (dispId) {
    case SessionID: session_ = automation::asInt(value, member); return;
    case AddressResolveUI: addressResolveUI_ = automation::asBool(value, member); return;
    case MsgSubject: message_.subject = automation::asText(value, member); return;
    case MsgNoteText: message_.noteText = automation::asText(value, member); return;
    case RecipIndex: recipIndex_ = indexIn(value, "RecipIndex", message_.recipients.size()); return;
    case RecipType: recipientToWrite().type = typeIn(value, "RecipType", 1, 3); return;
    case RecipAddress: recipientToWrite().address = automation::asText(value, member); return;
    case AttachmentIndex: attachmentIndex_ = indexIn(value, "AttachmentIndex", message_.attachments.size()); return;
    case AttachmentPosition: attachmentToWrite().position = automation::asInt(value, member); return;
    case AttachmentPathName: attachmentToWrite().pathName = automation::asText(value, member); return;
    case AttachmentType: attachmentToWrite().type = typeIn(value, "AttachmentType", 0, 2); return;
    }
    unknownMember(dispId, "write");
}

automation::Variant MapiMessagesControl::callMember(int dispId, const automation::Arguments &args)
{
    switch (dispId) {
    case Compose:
        message_ = ComposedMessage();
        recipIndex_ = 0;
        attachmentIndex_ = 0;
        return automation::Empty{};
    case Send: {
        const bool withDialog = !args.empty() && automation::asBool(args.front(), "Send");
        mapi_->send(session_, message_, withDialog);
        return automation::Empty{};
    }
    default:
        // A property called without arguments reads it, as with IDispatch.
        if (args.empty())
            return getMember(dispId);
    }
    unknownMember(dispId, "call");
}
