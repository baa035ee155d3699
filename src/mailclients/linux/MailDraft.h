#pragma once

#include "SenderIdentity.h"
#include "automation/Variant.h"

#include <functional>
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
// that cannot be read, or an attachment that is not a regular
// readable file (a pipe or a device would block the reading).
std::string ComposeMessage(const MailDraft &draft, const SenderIdentity &sender);

// Where a stand-in's "Send" hands its draft (the Linux mail client, which
// composes it and puts it in the outbox); raises when that cannot be done.
using PostDraft = std::function<void(const MailDraft &draft)>;

// What tells the user which mail a message is: its decoded subject and its
// recipients, To, Cc and Bcc joined with ", ".
struct MessageSummary
{
    std::string subject;
    std::string recipients;
    // Each kind on its own, as ";"-separated addresses, and the Date header
    // in seconds since 1970 (0 when there is none): enough to list the mail again.
    std::string to, cc, bcc;
    long long date = 0;
};
MessageSummary SummarizeMessage(const std::string &message);
