#include "MailDraft.h"
#include "StandInObject.h"
#include "automation/MailTexts.h"
#include "automation/MapiDispIds.h"

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
        if (dispId != MapiSession::SessionID)
            return StandInObject::get(dispId);
        return id_;
    }
    Variant call(int dispId, const Arguments &args) override
    {
        static std::int32_t lastId = 0;
        if (dispId == MapiSession::SignOn) {
            openSessions().erase(id_);
            id_ = ++lastId;
            openSessions().insert(id_);
        } else if (dispId == MapiSession::SignOff) {
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
    explicit Messages(PostDraft post) : StandInObject("MSMAPI.MAPIMessages"), post_(std::move(post)) {}

    Variant get(int dispId) override
    {
        if (dispId != MapiMessages::MsgNoteText)
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

    PostDraft post_;
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
    case MapiMessages::SessionID: session_ = asInt(value, "SessionID"); return;
    case MapiMessages::AddressResolveUI: asBool(value, "AddressResolveUI"); return;  // addresses go as typed: nothing to resolve
    case MapiMessages::MsgSubject: subject_ = asText(value, "MsgSubject"); return;
    case MapiMessages::MsgNoteText: note_ = asText(value, "MsgNoteText"); return;
    case MapiMessages::RecipIndex:
        recipIndex_ = select(asInt(value, "RecipIndex"), recipients_.size(), "RecipIndex");
        if (recipIndex_ == recipients_.size())
            recipients_.emplace_back();
        return;
    case MapiMessages::RecipType: {
        const std::int32_t type = asInt(value, "RecipType");
        if (type < 1 || type > 3)
            throw Failure("RecipType", "type de destinataire inconnu");
        recipient("RecipType").type = type;
        return;
    }
    case MapiMessages::RecipAddress: recipient("RecipAddress").address = asText(value, "RecipAddress"); return;
    case MapiMessages::AttachmentIndex:
        attachmentIndex_ = select(asInt(value, "AttachmentIndex"), attachments_.size(), "AttachmentIndex");
        if (attachmentIndex_ == attachments_.size())
            attachments_.emplace_back();
        return;
    case MapiMessages::AttachmentPosition: attachment("AttachmentPosition").position = asInt(value, "AttachmentPosition"); return;
    case MapiMessages::AttachmentPathName: attachment("AttachmentPathName").path = asText(value, "AttachmentPathName"); return;
    case MapiMessages::AttachmentType:
        if (asInt(value, "AttachmentType") != 0)
            throw Failure("AttachmentType", "seuls les fichiers de données sont pris en charge");
        return;
    default: StandInObject::put(dispId, value);
    }
}

Variant Messages::call(int dispId, const Arguments &args)
{
    if (dispId == MapiMessages::Compose) {
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
    if (dispId != MapiMessages::Send)
        return StandInObject::call(dispId, args);
    if (asBool(argument(args, 0, "Send"), "Send"))
        throw Failure("Send", "aucune boîte de dialogue d'envoi disponible");
    send();
    return Empty{};
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
    for (auto it = attachments_.rbegin(); it != attachments_.rend(); ++it)
        if (const auto character = CharacterAtUtf16(draft.body, it->position))
            draft.body.erase(character->offset, character->length);
    for (const Attachment &entry : attachments_)
        draft.attachments.push_back(entry.path);
    post_(draft);
}

} // namespace

ObjectRef NewMapiSession()
{
    return std::make_shared<Session>();
}

ObjectRef NewMapiMessages(PostDraft post)
{
    return std::make_shared<Messages>(std::move(post));
}
