#include "Desktop.h"
#include "MailDraft.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "StandInObject.h"
#include "automation/MailTexts.h"

#include <QString>

#include <memory>

using namespace automation;

namespace {

class Attachments : public StandInObject
{
public:
    explicit Attachments(std::shared_ptr<MailDraft> draft) : StandInObject("Attachments"), draft_(std::move(draft)) {}
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (!is(name, "Add"))
            unknown(name);
        draft_->attachments.push_back(asText(argument(args, 0, name), name));
        return Empty{};
    }

private:
    std::shared_ptr<MailDraft> draft_;
};

// The Outlook route swallows every failure, so the one thing that can fail
// here, a message that cannot be put in the outbox, is told from here.
void tellLostMail(const MailDraft &draft, const std::exception &failure)
{
    if (!desktop().notifier)
        return;
    std::string recipients;
    for (const auto *list : {&draft.to, &draft.cc, &draft.bcc})
        for (const std::string &entry : *list)
            recipients += (recipients.empty() ? "" : ", ") + entry;
    desktop().notifier->notifyError(
        MessageTexts::ErrorTitle,
        MessageTexts::padded(QStringLiteral("Le mail \"%1\" pour %2 n'a pas pu être confié au client de messagerie "
                                            "(%3) : il n'est plus dans les mails en attente. Écrivez-le de nouveau "
                                            "après avoir corrigé la cause."))
            .arg(QString::fromStdString(draft.subject), QString::fromStdString(recipients),
                 QString::fromUtf8(failure.what())));
}

class MailItem : public StandInObject
{
public:
    explicit MailItem(PostDraft post) : StandInObject("MailItem"), post_(std::move(post)) {}
    Variant get(const std::string &name) override
    {
        if (!is(name, "Attachments"))
            unknown(name);
        return ObjectRef(std::make_shared<Attachments>(draft_));
    }
    void put(const std::string &name, const Variant &value) override
    {
        if (is(name, "Subject"))
            draft_->subject = asText(value, name);
        else if (is(name, "To"))
            draft_->to = SplitRecipients(asText(value, name));
        else if (is(name, "cc"))
            draft_->cc = SplitRecipients(asText(value, name));
        else if (is(name, "bcc"))
            draft_->bcc = SplitRecipients(asText(value, name));
        else if (is(name, "Body"))
            draft_->body = asText(value, name);
        else
            unknown(name);
    }
    Variant call(const std::string &name, const Arguments &) override
    {
        if (!is(name, "Send"))
            unknown(name);
        try {
            post_(*draft_);
        } catch (const std::exception &failure) {
            tellLostMail(*draft_, failure);
            throw;
        }
        return Empty{};
    }

private:
    PostDraft post_;
    // Shared with the attachments collection, which may outlive the item.
    std::shared_ptr<MailDraft> draft_ = std::make_shared<MailDraft>();
};

class Application : public StandInObject
{
public:
    explicit Application(PostDraft post) : StandInObject("Outlook.application"), post_(std::move(post)) {}
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (!is(name, "createitem"))
            unknown(name);
        if (asInt(argument(args, 0, name), name) != 0)
            throw Failure(name, "seuls les mails sont pris en charge");
        return ObjectRef(std::make_shared<MailItem>(post_));
    }

private:
    PostDraft post_;
};

} // namespace

ObjectRef NewOutlookApplication(PostDraft post)
{
    return std::make_shared<Application>(std::move(post));
}
