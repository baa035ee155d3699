#include "Routes.h"
#include "automation/MailTexts.h"

using namespace automation;

std::string NotesMailFileName(const std::string &userName)
{
    if (userName.empty())
        return ".nsf";
    // The first character, whole even when UTF-8 spends several bytes on it.
    const auto first = CharacterAtUtf16(userName, 0);
    const std::size_t firstLength = first ? first->offset + first->length : userName.size();
    const std::size_t blank = userName.find(' ');
    const std::string rest = blank == std::string::npos ? userName : userName.substr(blank + 1);
    return userName.substr(0, firstLength) + rest + ".nsf";
}

void SendWithNotes(Factory &factory, const OutgoingMail &mail, Date now)
{
    ObjectRef session = factory.create("Notes.NotesSession");
    const std::string userName = asText(session->get("UserName"), "UserName");
    ObjectRef database = asObject(session->call("GETDATABASE", {std::string(), NotesMailFileName(userName)}),
                                  "GETDATABASE");
    if (!asBool(database->get("IsOpen"), "IsOpen"))
        database->call("OPENMAIL");

    ObjectRef document = asObject(database->call("CREATEDOCUMENT"), "CREATEDOCUMENT");
    document->put("Form", std::string("Memo"));
    document->put("SendTo", SplitRecipients(mail.to));
    if (!mail.cc.empty())
        document->put("CopyTo", SplitRecipients(mail.cc));
    if (!mail.bcc.empty())
        document->put("BlindCopyTo", SplitRecipients(mail.bcc));
    document->put("Subject", mail.subject);
    document->put("Body", mail.body);
    document->put("SAVEMESSAGEONSEND", true);

    ObjectRef richText;
    Variant embedded;
    if (!mail.attachment.empty()) {
        const std::string itemName = "Attachment";
        richText = asObject(document->call("CREATERICHTEXTITEM", {itemName}), "CREATERICHTEXTITEM");
        embedded = richText->call("EMBEDOBJECT", {std::int16_t(1454), std::string(), mail.attachment, itemName});
        document->call("CREATERICHTEXTITEM", {itemName});
    }
    document->put("PostedDate", now);
    document->call("Send", {std::int16_t(0), Empty{}});

    // On a failure above the references go when the locals do.
    database.reset();
    document.reset();
    richText.reset();
    session.reset();
    embedded = Empty{};
}
