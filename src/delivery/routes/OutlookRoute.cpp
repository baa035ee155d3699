#include "Routes.h"

using namespace automation;

void SendWithOutlook(Factory &factory, const OutgoingMail &mail)
{
    // Outlook's answer is never checked: whatever fails, the mail counts as handed over.
    try {
        ObjectRef application = factory.create("Outlook.application");
        ObjectRef item = asObject(application->call("createitem", {std::int16_t(0)}), "createitem");
        item->put("Subject", mail.subject);
        item->put("To", mail.to);
        if (!mail.cc.empty())
            item->put("cc", mail.cc);
        if (!mail.bcc.empty())
            item->put("bcc", mail.bcc);
        item->put("Body", mail.body);
        if (!mail.attachment.empty()) {
            ObjectRef attachments = asObject(item->get("Attachments"), "Attachments");
            attachments->call("Add", {mail.attachment});
        }
        item->call("Send");
        item.reset();
        application.reset();
    } catch (...) {
    }
}
