#include "MailDraft.h"
#include "automation/Object.h"
#include "ProgramVersion.h"
#include "SenderIdentity.h"

#include <gmime/gmime.h>
// After GMime: its GLib headers use the word Qt defines as a keyword.
#include "AttachmentSize.h"
#include <QMimeDatabase>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

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

[[noreturn]] void failTooLarge(const std::string &path, qint64 size)
{
    fail(AttachmentSize::refusal(QString::fromStdString(path), size).toStdString());
}

// The bytes of a regular file of at most AttachmentSize::Limit bytes. Opened
// without blocking and checked on the open descriptor: a named pipe or a
// device would hold the hand-over forever. A larger file is refused before
// it is read, and one that grows past the limit while it is read.
std::string readAttachment(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail("pièce jointe illisible : " + path + " (" + std::strerror(errno) + ")");
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        fail("la pièce jointe n'est pas un fichier ordinaire (dossier, tube ou périphérique) : " + path);
    }
    if (info.st_size > AttachmentSize::Limit) {
        ::close(fd);
        failTooLarge(path, qint64(info.st_size));
    }
    constexpr auto limit = std::size_t(AttachmentSize::Limit);
    std::string bytes;
    bytes.reserve(std::size_t(info.st_size));
    char buffer[65536];
    ssize_t got = 0;
    while (bytes.size() <= limit && ((got = ::read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)))
        bytes.append(buffer, std::size_t(std::max<ssize_t>(got, 0)));
    const int error = errno;
    ::close(fd);
    if (got < 0)
        fail("pièce jointe illisible : " + path + " (" + std::strerror(error) + ")");
    if (bytes.size() > limit)
        failTooLarge(path, qint64(bytes.size()));
    return bytes;
}

// A GByteArray counts in guint: sizes beyond it are refused, never cut.
guint byteArraySize(std::size_t size)
{
    if (size > G_MAXUINT)
        fail("message trop grand pour être composé");
    return guint(size);
}

// Base64 in lines of 72 characters, written once into the buffer the part
// will own: GMime's own encoding filter, and each copy of a large file, cost
// more than the encoding itself.
GMimeStream *base64Stream(const std::string &bytes)
{
    GByteArray *encoded = g_byte_array_sized_new(byteArraySize(bytes.size() / 3 * 4 + bytes.size() / 54 + 16));
    gint state = 0, save = 0;
    const auto *input = reinterpret_cast<const guchar *>(bytes.data());
    auto *output = reinterpret_cast<gchar *>(encoded->data);
    gsize length = g_base64_encode_step(input, bytes.size(), TRUE, output, &state, &save);
    length += g_base64_encode_close(TRUE, output + length, &state, &save);
    encoded->len = byteArraySize(length);
    return g_mime_stream_mem_new_with_byte_array(encoded);
}

GMimeObject *attachmentPart(const std::string &path)
{
    const std::string bytes = readAttachment(path);
    // Typed by content first, then by name; unknown kinds stay application/octet-stream.
    const QString type = QMimeDatabase()
                             .mimeTypeForFileNameAndData(QString::fromStdString(path),
                                                         QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())))
                             .name();
    const qsizetype slashAt = type.indexOf(QLatin1Char('/'));
    GMimePart *part = slashAt > 0 ? g_mime_part_new_with_type(type.left(slashAt).toLatin1().constData(),
                                                             type.mid(slashAt + 1).toLatin1().constData())
                                  : g_mime_part_new_with_type("application", "octet-stream");
    GRef<GMimeStream> stream(base64Stream(bytes));
    GRef<GMimeDataWrapper> content(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_BASE64));
    g_mime_part_set_content(part, content.get());
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
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "X-Mailer", "Tardello " TARDELLO_VERSION_TEXT, nullptr);

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

    // Written into a buffer sized for it, rather than one grown piece by piece.
    // The attachments were read, so none is over the limit; a body is at most megabytes.
    std::size_t expected = draft.body.size() * 3 + 4096;
    for (const std::string &path : draft.attachments) {
        struct stat info{};
        const off_t attached = ::stat(path.c_str(), &info) == 0 ? std::min<off_t>(info.st_size, AttachmentSize::Limit) : 0;
        const auto size = std::size_t(attached);
        expected += size / 3 * 4 + size / 54;
    }
    GByteArray *buffer = g_byte_array_sized_new(byteArraySize(std::min<std::size_t>(expected, G_MAXUINT)));
    GRef<GMimeStream> out(g_mime_stream_mem_new_with_byte_array(buffer));
    if (g_mime_object_write_to_stream(GMIME_OBJECT(message.get()), nullptr, out.get()) < 0)
        fail("message impossible à composer");
    return std::string(reinterpret_cast<const char *>(buffer->data), buffer->len);
}

MessageSummary SummarizeMessage(const std::string &message)
{
    initialiseOnce();
    GRef<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(message.data(), message.size()));
    GRef<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GRef<GMimeMessage> parsed(g_mime_parser_construct_message(parser.get(), nullptr));
    MessageSummary summary;
    if (!parsed)
        return summary;
    if (const char *subject = g_mime_message_get_subject(parsed.get()))
        summary.subject = subject;
    for (GMimeAddressType type : {GMIME_ADDRESS_TYPE_TO, GMIME_ADDRESS_TYPE_CC, GMIME_ADDRESS_TYPE_BCC}) {
        InternetAddressList *list = g_mime_message_get_addresses(parsed.get(), type);
        if (internet_address_list_length(list) == 0)
            continue;
        std::unique_ptr<char, GFreeDeleter> text(internet_address_list_to_string(list, nullptr, FALSE));
        summary.recipients += (summary.recipients.empty() ? "" : ", ") + std::string(text.get());
        std::string &kind = type == GMIME_ADDRESS_TYPE_TO ? summary.to : type == GMIME_ADDRESS_TYPE_CC ? summary.cc : summary.bcc;
        for (int at = 0; at < internet_address_list_length(list); ++at) {
            std::unique_ptr<char, GFreeDeleter> one(
                internet_address_to_string(internet_address_list_get_address(list, at), nullptr, FALSE));
            kind += (kind.empty() ? "" : ";") + std::string(one.get());
        }
    }
    if (GDateTime *date = g_mime_message_get_date(parsed.get()))
        summary.date = g_date_time_to_unix(date);
    return summary;
}
