#include <gmime/gmime.h>

#include "MessageReader.h"


namespace {

QString addresses(GMimeMessage *message, GMimeAddressType type)
{
    InternetAddressList *list = g_mime_message_get_addresses(message, type);
    char *text = internet_address_list_to_string(list, nullptr, FALSE);
    const QString result = QString::fromUtf8(text ? text : "");
    g_free(text);
    return result;
}

QByteArray decodedContent(GMimePart *part)
{
    GMimeStream *memory = g_mime_stream_mem_new();
    g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(part), memory);
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory));
    const QByteArray result(reinterpret_cast<const char *>(bytes->data), int(bytes->len));
    g_object_unref(memory);
    return result;
}

} // namespace

ParsedMessage ParseMessage(const QByteArray &raw)
{
    static const bool initialised = (g_mime_init(), true);
    Q_UNUSED(initialised);
    ParsedMessage parsed;
    GMimeStream *stream = g_mime_stream_mem_new_with_buffer(raw.constData(), raw.size());
    GMimeParser *parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage *message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (!message)
        return parsed;
    parsed.valid = true;
    GMimeHeaderList *headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        GMimeHeader *header = g_mime_header_list_get_header_at(headers, i);
        parsed.headers.insert(QString::fromUtf8(g_mime_header_get_name(header)).toLower(),
                              QString::fromUtf8(g_mime_header_get_raw_value(header)).trimmed());
    }
    parsed.to = addresses(message, GMIME_ADDRESS_TYPE_TO);
    parsed.cc = addresses(message, GMIME_ADDRESS_TYPE_CC);
    parsed.bcc = addresses(message, GMIME_ADDRESS_TYPE_BCC);
    parsed.subject = QString::fromUtf8(g_mime_message_get_subject(message));
    if (GDateTime *date = g_mime_message_get_date(message))
        parsed.dateSeconds = g_date_time_to_unix(date);

    GMimePartIter *iter = g_mime_part_iter_new(GMIME_OBJECT(message));
    GMimeObject *body = g_mime_message_get_mime_part(message);
    auto take = [&](GMimeObject *object) {
        if (!GMIME_IS_PART(object))
            return;
        GMimePart *part = GMIME_PART(object);
        if (GMIME_IS_TEXT_PART(object) && !g_mime_part_get_filename(part)) {
            parsed.bodyCharset = QString::fromUtf8(g_mime_text_part_get_charset(GMIME_TEXT_PART(object)));
            parsed.body = QString::fromUtf8(decodedContent(part));
        } else {
            parsed.attachmentName = QString::fromUtf8(g_mime_part_get_filename(part));
            parsed.attachment = decodedContent(part);
        }
    };
    take(body);
    if (g_mime_part_iter_is_valid(iter))
        do
            take(g_mime_part_iter_get_current(iter));
        while (g_mime_part_iter_next(iter));
    g_mime_part_iter_free(iter);
    g_object_unref(message);
    return parsed;
}
