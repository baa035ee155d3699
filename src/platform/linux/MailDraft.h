#pragma once

#include "SenderIdentity.h"
#include "automation/Variant.h"

#include <optional>
#include <string>
#include <vector>

// What a stand-in mail client hands over on Send: recipients as typed,
// UTF-8 texts, file paths of the attachments.
struct MailDraft
{
    std::vector<std::string> to;
    std::vector<std::string> cc;
    std::vector<std::string> bcc;
    std::string subject;
    std::string body;
    std::vector<std::string> attachments;
    std::optional<automation::Date> date;  // now when not given
};

// The RFC 5322 message of a draft from sender, with Unix line ends. Raises
// automation::Failure (member "Send") on a missing recipient, an address
// that cannot be read or an attachment that cannot be read.
std::string ComposeMessage(const MailDraft &draft, const SenderIdentity &sender = CurrentSender());

// Composes the message and hands it to sendmail; raises on any failure.
void DeliverDraft(const MailDraft &draft);

// "a;b" gives "a" and "b", as the ";"-separated lists of the mail clients.
std::vector<std::string> SplitAddressList(const std::string &list);
