#include "MailDraft.h"
#include "StandInObject.h"

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

class MailItem : public StandInObject
{
public:
    MailItem() : StandInObject("MailItem") {}
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
            draft_->to = SplitAddressList(asText(value, name));
        else if (is(name, "cc"))
            draft_->cc = SplitAddressList(asText(value, name));
        else if (is(name, "bcc"))
            draft_->bcc = SplitAddressList(asText(value, name));
        else if (is(name, "Body"))
            draft_->body = asText(value, name);
        else
            unknown(name);
    }
    Variant call(const std::string &name, const Arguments &) override
    {
        if (!is(name, "Send"))
            unknown(name);
        DeliverDraft(*draft_);
        return Empty{};
    }

private:
    // Shared with the attachments collection, which may outlive the item.
    std::shared_ptr<MailDraft> draft_ = std::make_shared<MailDraft>();
};

class Application : public StandInObject
{
public:
    Application() : StandInObject("Outlook.application") {}
    Variant call(const std::string &name, const Arguments &args) override
    {
        if (!is(name, "createitem"))
            unknown(name);
        if (asInt(argument(args, 0, name), name) != 0)
            throw Failure(name, "seuls les mails sont pris en charge");
        return ObjectRef(std::make_shared<MailItem>());
    }
};

} // namespace

ObjectRef NewOutlookApplication()
{
    return std::make_shared<Application>();
}
