#include "MailDraft.h"
#include "StandInObject.h"

#include <memory>
#include <pwd.h>
#include <unistd.h>

using namespace automation;

namespace {

constexpr std::int32_t EmbedAttachment = 1454;

// Recipient items hold an array of texts; a single text counts as one entry.
std::vector<std::string> recipients(const Variant &value, const std::string &member)
{
    if (auto texts = std::get_if<TextArray>(&value))
        return *texts;
    if (std::holds_alternative<Empty>(value))
        return {};
    return {asText(value, member)};
}

class EmbeddedObject : public StandInObject
{
public:
    EmbeddedObject() : StandInObject("NotesEmbeddedObject") {}
};

class RichTextItem : public StandInObject
{
public:
    explicit RichTextItem(std::shared_ptr<MailDraft> draft) : StandInObject("NotesRichTextItem"), draft_(std::move(draft))
    {
    }
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (!is(name, "EMBEDOBJECT"))
            unknown(name);
        if (asInt(argument(args, 0, name), name) != EmbedAttachment)
            throw Failure(name, "seules les pièces jointes sont prises en charge");
        draft_->attachments.push_back(asText(argument(args, 2, name), name));
        return ObjectRef(std::make_shared<EmbeddedObject>());
    }

private:
    std::shared_ptr<MailDraft> draft_;
};

class Document : public StandInObject
{
public:
    explicit Document(PostDraft post) : StandInObject("NotesDocument"), post_(std::move(post)) {}
    void put(const std::string &name, const Variant &value) override
    {
        if (is(name, "Form") || is(name, "SAVEMESSAGEONSEND"))
            return;  // a memo is the only form sent, and nothing keeps copies here
        if (is(name, "SendTo"))
            draft_->to = recipients(value, name);
        else if (is(name, "CopyTo"))
            draft_->cc = recipients(value, name);
        else if (is(name, "BlindCopyTo"))
            draft_->bcc = recipients(value, name);
        else if (is(name, "Subject"))
            draft_->subject = asText(value, name);
        else if (is(name, "Body"))
            draft_->body = asText(value, name);
        else if (is(name, "PostedDate")) {
            const Date *date = std::get_if<Date>(&value);
            if (!date)
                throw Failure(name, "date attendue");
            draft_->date = *date;
        } else
            unknown(name);
    }
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (is(name, "CREATERICHTEXTITEM")) {
            asText(argument(args, 0, name), name);
            return ObjectRef(std::make_shared<RichTextItem>(draft_));
        }
        if (!is(name, "Send"))
            unknown(name);
        MailDraft draft = *draft_;
        if (args.size() > 1 && !std::holds_alternative<Empty>(args[1]))
            draft.to = recipients(args[1], name);  // explicit recipients replace SendTo
        post_(draft);
        return Empty{};
    }

private:
    PostDraft post_;
    std::shared_ptr<MailDraft> draft_ = std::make_shared<MailDraft>();
};

class Database : public StandInObject
{
public:
    explicit Database(PostDraft post) : StandInObject("NotesDatabase"), post_(std::move(post)) {}
    Variant get(const std::string &name) override
    {
        if (!is(name, "IsOpen"))
            unknown(name);
        return open_;
    }
    Variant call(const std::string &name, const Arguments &) override
    {
        if (is(name, "OPENMAIL")) {
            open_ = true;
            return Empty{};
        }
        if (!is(name, "CREATEDOCUMENT"))
            unknown(name);
        if (!open_)
            throw Failure(name, "base de courrier non ouverte");
        return ObjectRef(std::make_shared<Document>(post_));
    }

private:
    PostDraft post_;
    // Only the user's own mail database is served, and only once opened.
    bool open_ = false;
};

std::string accountName()
{
    const passwd *account = getpwuid(getuid());
    if (!account)
        throw Failure("UserName", "compte utilisateur inconnu");
    const std::string gecos = account->pw_gecos ? account->pw_gecos : "";
    const std::string fullName = gecos.substr(0, gecos.find(','));
    return fullName.empty() ? std::string(account->pw_name) : fullName;
}

class Session : public StandInObject
{
public:
    explicit Session(PostDraft post) : StandInObject("Notes.NotesSession"), post_(std::move(post)) {}
    Variant get(const std::string &name) override
    {
        if (!is(name, "UserName"))
            unknown(name);
        return accountName();
    }
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (!is(name, "GETDATABASE"))
            unknown(name);
        if (!asText(argument(args, 0, name), name).empty())
            throw Failure(name, "seule la base locale est disponible");
        asText(argument(args, 1, name), name);
        return ObjectRef(std::make_shared<Database>(post_));
    }

private:
    PostDraft post_;
};

} // namespace

ObjectRef NewNotesSession(PostDraft post)
{
    return std::make_shared<Session>(std::move(post));
}
