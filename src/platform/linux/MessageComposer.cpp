#include "MailDraft.h"
#include "automation/Object.h"
#include "Sendmail.h"
#include "SenderIdentity.h"

#include <gmime/gmime.h>
// After GMime: its GLib headers use the word Qt defines as a keyword.
#include <QMimeDatabase>

#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>

#ifndef TARDELLO_VERSION
#define TARDELLO_VERSION "0"
#endif

namespace {

[[noreturn]] void fail(const std::string &reason)
{
    throw automation::Failure("Send", reason);
}

struct GObjectDeleter
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GRef = std::unique_ptr<T, GObjectDeleter>;

struct GFreeDeleter
{
    void operator()(char *text) const { g_free(text); }
};

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

void addAddresses(GMimeMessage *message, GMimeAddressType type, const std::vector<std::string> &entries)
{
    InternetAddressList *target = g_mime_message_get_addresses(message, type);
    for (const std::string &entry : entries) {
        if (entry.find_first_not_of(" \t") == std::string::npos)
            continue;  // an empty entry names nobody
        GRef<InternetAddressList> parsed(internet_address_list_parse(nullptr, entry.c_str()));
        if (!parsed || internet_address_list_length(parsed.get()) == 0)
            fail("adresse illisible : " + entry);
        for (int i = 0; i < internet_address_list_length(parsed.get()); ++i)
            internet_address_set_charset(internet_address_list_get_address(parsed.get(), i), "utf-8");
        internet_address_list_append(target, parsed.get());
    }
}

// Wall-clock time of an automation date, in the local zone.
GDateTime *localTime(automation::Date date)
{
    const double seconds = std::round(date.days * 86400.0);
    GDateTime *epoch = g_date_time_new_utc(1899, 12, 30, 0, 0, 0);
    GDateTime *wall = g_date_time_add_seconds(epoch, seconds);
    g_date_time_unref(epoch);
    if (!wall)
        fail("date d'envoi hors limites");
    GDateTime *local = g_date_time_new_local(g_date_time_get_year(wall), g_date_time_get_month(wall),
                                             g_date_time_get_day_of_month(wall), g_date_time_get_hour(wall),
                                             g_date_time_get_minute(wall), g_date_time_get_second(wall));
    g_date_time_unref(wall);
    if (!local)
        fail("date d'envoi hors limites");
    return local;
}

std::string unixLineEnds(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

// Text that may travel as it is: ASCII without NUL or a lone CR, in lines of at
// most 998 bytes, which mail servers would otherwise cut.
bool isSevenBit(const std::string &text)
{
    std::size_t lineLength = 0;
    for (const char c : text) {
        if (c == '\n') {
            lineLength = 0;
            continue;
        }
        if ((c & 0x80) != 0 || c == '\0' || c == '\r' || ++lineLength > 998)
            return false;
    }
    return true;
}

void setContent(GMimePart *part, const std::string &bytes)
{
    GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GRef<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
}

GMimeObject *attachmentPart(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        fail("pièce jointe illisible : " + path);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad())
        fail("pièce jointe illisible : " + path);

    // Typed by content first, then by name; unknown kinds stay application/octet-stream.
    const QString type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path)).name();
    const qsizetype slashAt = type.indexOf(QLatin1Char('/'));
    GMimePart *part = slashAt > 0 ? g_mime_part_new_with_type(type.left(slashAt).toLatin1().constData(),
                                                             type.mid(slashAt + 1).toLatin1().constData())
                                  : g_mime_part_new_with_type("application", "octet-stream");
    setContent(part, bytes);
    g_mime_object_set_disposition(GMIME_OBJECT(part), "attachment");
    const std::size_t slash = path.find_last_of('/');
    g_mime_part_set_filename(part, (slash == std::string::npos ? path : path.substr(slash + 1)).c_str());
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    // The file name goes out in UTF-8 whatever narrower charset would do.
    if (GMimeParam *name = g_mime_param_list_get_parameter(
            g_mime_content_disposition_get_parameters(g_mime_object_get_content_disposition(GMIME_OBJECT(part))),
            "filename"))
        g_mime_param_set_charset(name, "utf-8");
    if (GMimeParam *name = g_mime_param_list_get_parameter(
            g_mime_content_type_get_parameters(g_mime_object_get_content_type(GMIME_OBJECT(part))), "name"))
        g_mime_param_set_charset(name, "utf-8");
    return GMIME_OBJECT(part);
}

} // namespace

std::vector<std::string> SplitAddressList(const std::string &list)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

std::string ComposeMessage(const MailDraft &draft, const SenderIdentity &sender)
{
    initialiseOnce();
    GRef<GMimeMessage> message(g_mime_message_new(TRUE));
    addAddresses(message.get(), GMIME_ADDRESS_TYPE_TO, draft.to);
    addAddresses(message.get(), GMIME_ADDRESS_TYPE_CC, draft.cc);
    addAddresses(message.get(), GMIME_ADDRESS_TYPE_BCC, draft.bcc);
    int recipients = 0;
    for (GMimeAddressType type : {GMIME_ADDRESS_TYPE_TO, GMIME_ADDRESS_TYPE_CC, GMIME_ADDRESS_TYPE_BCC})
        recipients += internet_address_list_length(g_mime_message_get_addresses(message.get(), type));
    if (recipients == 0)
        fail("aucun destinataire");

    g_mime_message_set_subject(message.get(), draft.subject.c_str(), "utf-8");
    GDateTime *date = draft.date ? localTime(*draft.date) : g_date_time_new_now_local();
    g_mime_message_set_date(message.get(), date);
    g_date_time_unref(date);
    if (!sender.address.empty()) {
        InternetAddressMailbox *from = INTERNET_ADDRESS_MAILBOX(
            internet_address_mailbox_new(sender.name.empty() ? nullptr : sender.name.c_str(), sender.address.c_str()));
        internet_address_set_charset(INTERNET_ADDRESS(from), "utf-8");
        internet_address_list_add(g_mime_message_get_addresses(message.get(), GMIME_ADDRESS_TYPE_FROM),
                                  INTERNET_ADDRESS(from));
        g_object_unref(from);
    }
    // The sender's domain identifies the message better than this machine's name.
    const std::string domain = SenderDomain(sender);
    std::unique_ptr<char, GFreeDeleter> id(
        g_mime_utils_generate_message_id(domain.empty() ? g_get_host_name() : domain.c_str()));
    g_mime_message_set_message_id(message.get(), id.get());
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "X-Mailer", "Tardello v " TARDELLO_VERSION, nullptr);

    GRef<GMimeTextPart> text(g_mime_text_part_new_with_subtype("plain"));
    // The text goes in as the UTF-8 bytes it is: converting to a narrower
    // charset is what setting it as text would do.
    const std::string body = unixLineEnds(draft.body);
    setContent(GMIME_PART(text.get()), body);
    g_mime_text_part_set_charset(text.get(), "utf-8");
    g_mime_part_set_content_encoding(GMIME_PART(text.get()), isSevenBit(body) ? GMIME_CONTENT_ENCODING_7BIT
                                                                              : GMIME_CONTENT_ENCODING_QUOTEDPRINTABLE);

    if (draft.attachments.empty()) {
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(text.get()));
    } else {
        GRef<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), GMIME_OBJECT(text.get()));
        for (const std::string &path : draft.attachments) {
            GRef<GMimeObject> part(attachmentPart(path));
            g_mime_multipart_add(mixed.get(), part.get());
        }
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
    }

    std::unique_ptr<char, GFreeDeleter> written(g_mime_object_to_string(GMIME_OBJECT(message.get()), nullptr));
    return written ? std::string(written.get()) : std::string();
}

void DeliverDraft(const MailDraft &draft)
{
    RemindMissingSenderOnce();
    RunSendmail(ComposeMessage(draft));
}
