#include "MailDraft.h"
#include "StandInObject.h"

#include <memory>
#include <set>

using namespace automation;

namespace {

// Sessions signed on and not yet off; the messages control accepts only these.
std::set<std::int32_t> &openSessions()
{
    static std::set<std::int32_t> sessions;
    return sessions;
}

class Session : public StandInObject
{
public:
    Session() : StandInObject("MSMAPI.MAPISession") {}
    ~Session() override { openSessions().erase(id_); }

    Variant get(int dispId) override
    {
        if (dispId != 5)  // SessionID
            return StandInObject::get(dispId);
        return id_;
    }
    Variant call(int dispId, const Arguments &args) override
    {
        static std::int32_t lastId = 0;
        if (dispId == 8) {  // SignOn
            openSessions().erase(id_);
            id_ = ++lastId;
            openSessions().insert(id_);
        } else if (dispId == 9) {  // SignOff
            openSessions().erase(id_);
            id_ = 0;
        } else {
            return StandInObject::call(dispId, args);
        }
        return Empty{};
    }

private:
    std::int32_t id_ = 0;
};

class Messages : public StandInObject
{
public:
    explicit Messages(Outbox &outbox) : StandInObject("MSMAPI.MAPIMessages"), outbox_(outbox) {}

    Variant get(int dispId) override
    {
        if (dispId != 20)  // MsgNoteText
            return StandInObject::get(dispId);
        return note_;
    }
    void put(int dispId, const Variant &value) override;
    Variant call(int dispId, const Arguments &args) override;

private:
    struct Recipient
    {
        std::int32_t type = 1;
        std::string address;
    };
    struct Attachment
    {
        std::int32_t position = -1;
        std::string path;
    };
    static std::size_t select(std::int32_t index, std::size_t count, const char *member)
    {
        if (index < 0 || std::size_t(index) > count)
            throw Failure(member, "index hors limites");
        return std::size_t(index);
    }
    Recipient &recipient(const char *member)
    {
        if (recipIndex_ >= recipients_.size())
            throw Failure(member, "aucun destinataire choisi");
        return recipients_[recipIndex_];
    }
    Attachment &attachment(const char *member)
    {
        if (attachmentIndex_ >= attachments_.size())
            throw Failure(member, "aucune pièce jointe choisie");
        return attachments_[attachmentIndex_];
    }
    void send();

    Outbox &outbox_;
    std::int32_t session_ = 0;
    bool composing_ = false;
    std::string subject_, note_;
    std::vector<Recipient> recipients_;
    std::size_t recipIndex_ = 0;
    std::vector<Attachment> attachments_;
    std::size_t attachmentIndex_ = 0;
};

void Messages::put(int dispId, const Variant &value)
{
    switch (dispId) {
    case 31: session_ = asInt(value, "SessionID"); return;
    case 5: asBool(value, "AddressResolveUI"); return;  // addresses go as typed: nothing to resolve
    case 32: subject_ = asText(value, "MsgSubject"); return;
    case 20: note_ = asText(value, "MsgNoteText"); return;
    case 29:
        recipIndex_ = select(asInt(value, "RecipIndex"), recipients_.size(), "RecipIndex");
        if (recipIndex_ == recipients_.size())
            recipients_.emplace_back();
        return;
    case 30: {
        const std::int32_t type = asInt(value, "RecipType");
        if (type < 1 || type > 3)
            throw Failure("RecipType", "type de destinataire inconnu");
        recipient("RecipType").type = type;
        return;
    }
    case 26: recipient("RecipAddress").address = asText(value, "RecipAddress"); return;
    case 7:
        attachmentIndex_ = select(asInt(value, "AttachmentIndex"), attachments_.size(), "AttachmentIndex");
        if (attachmentIndex_ == attachments_.size())
            attachments_.emplace_back();
        return;
    case 10: attachment("AttachmentPosition").position = asInt(value, "AttachmentPosition"); return;
    case 9: attachment("AttachmentPathName").path = asText(value, "AttachmentPathName"); return;
    case 11:
        if (asInt(value, "AttachmentType") != 0)
            throw Failure("AttachmentType", "seuls les fichiers de données sont pris en charge");
        return;
    default: StandInObject::put(dispId, value);
    }
}

Variant Messages::call(int dispId, const Arguments &args)
{
    if (dispId == 35) {  // Compose
        if (!openSessions().count(session_))
            throw Failure("Compose", "session non ouverte");
        subject_.clear();
        note_.clear();
        recipients_.clear();
        recipIndex_ = 0;
        attachments_.clear();
        attachmentIndex_ = 0;
        composing_ = true;
        return Empty{};
    }
    if (dispId != 43)  // Send
        return StandInObject::call(dispId, args);
    if (asBool(argument(args, 0, "Send"), "Send"))
        throw Failure("Send", "aucune boîte de dialogue d'envoi disponible");
    send();
    return Empty{};
}

// Byte offset of a position counted in UTF-16 units, or npos past the end.
std::size_t byteOffset(const std::string &text, std::int32_t position)
{
    std::int32_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) == 0x80)
            continue;
        if (units == position)
            return i;
        units += byte >= 0xF0 ? 2 : 1;
    }
    return std::string::npos;
}

void Messages::send()
{
    if (!composing_ || !openSessions().count(session_))
        throw Failure("Send", "aucun message en cours");
    MailDraft draft;
    for (const Recipient &entry : recipients_)
        (entry.type == 1 ? draft.to : entry.type == 2 ? draft.cc : draft.bcc).push_back(entry.address);
    draft.subject = subject_;
    draft.body = note_;
    // Each attachment takes the place of one character of the note.
    for (auto it = attachments_.rbegin(); it != attachments_.rend(); ++it) {
        const std::size_t at = byteOffset(draft.body, it->position);
        if (at != std::string::npos) {
            std::size_t length = 1;
            while (at + length < draft.body.size() && (static_cast<unsigned char>(draft.body[at + length]) & 0xC0) == 0x80)
                ++length;
            draft.body.erase(at, length);
        }
    }
    for (const Attachment &entry : attachments_)
        draft.attachments.push_back(entry.path);
    DeliverDraft(outbox_, draft);
}

} // namespace

ObjectRef NewMapiSession()
{
    return std::make_shared<Session>();
}

ObjectRef NewMapiMessages(Outbox &outbox)
{
    return std::make_shared<Messages>(outbox);
}
