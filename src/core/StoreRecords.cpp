#include "StoreRecords.h"

#include "AnsiText.h"
#include "DateText.h"
#include "EscapedText.h"

#include <array>
#include <cstring>

namespace StoreRecords {

namespace {
const QString escapeKey = QStringLiteral("Echappement");
const QString bodyStart = QStringLiteral("DebutContenu=");
const QString endMarker = QStringLiteral("=FinContenu");
const QByteArrayView escapeKeyBytes = "Echappement";
const QByteArrayView bodyStartBytes = "DebutContenu=";
const QByteArrayView endMarkerBytes = "=FinContenu";
const QString lineBreak = QStringLiteral("\r\n");

bool startsWithLine(QStringView text, const QString &line)
{
    return text.startsWith(line) && (text.size() == line.size() || text.sliced(line.size()).startsWith(lineBreak));
}

// Does the body, cut at its CR LF breaks, hold a lone line feed, an end-marker
// line or a body-start line? The last one is escaped so that a body never holds
// a whole record's header, which is how the loader sees a damaged end marker.
bool bodyNeedsEscape(const QString &body)
{
    for (qsizetype lineStart = 0;;) {
        const QStringView rest = QStringView(body).sliced(lineStart);
        if (startsWithLine(rest, endMarker) || startsWithLine(rest, bodyStart))
            return true;
        const qsizetype at = body.indexOf(QLatin1Char('\n'), lineStart);
        if (at < 0)
            return false;
        if (at == 0 || body.at(at - 1) != QLatin1Char('\r'))
            return true;
        lineStart = at + 1;
    }
}

// Can the code page's bytes of a body be copied into the file as they stand?
// Not when a line feed comes without its carriage return, nor when a marker's
// text stands anywhere in them (recordLines() then looks at the lines exactly).
// Run on every body at every save: one memchr pass for each byte looked for.
bool bytesGoAsTheyStand(QByteArrayView bytes)
{
    const char *const begin = bytes.data();
    const char *const end = begin + bytes.size();
    for (const char *at = begin; (at = static_cast<const char *>(std::memchr(at, '\n', end - at))); ++at) {
        if (at == begin || at[-1] != '\r')
            return false;
    }
    // Both markers hold an equals sign: the end marker starts with it, the body start ends with it.
    for (const char *at = begin; (at = static_cast<const char *>(std::memchr(at, '=', end - at))); ++at) {
        const QByteArrayView from(at, end);
        const QByteArrayView upTo(begin, at + 1);
        if (from.startsWith(endMarkerBytes) || upTo.endsWith(bodyStartBytes))
            return false;
    }
    return true;
}

bool needsEscape(const MailItem &mail, const QString &body)
{
    for (const QString *field : {&mail.Titre, &mail.Dest, &mail.CC, &mail.BCC, &mail.Attach}) {
        if (field->contains(QLatin1Char('\n')))
            return true;
    }
    return bodyNeedsEscape(body);
}

using EscapedText::escaped;
using EscapedText::unescaped;

enum Field { Titre, Dest, CC, BCC, Attach, Date, FieldCount };

// Follows the body's lines for a whole record header written in order, the
// sign that an end marker was damaged and the next record ran into the body.
class SwallowedHeader
{
public:
    bool found() const { return matched_ == steps.size(); }
    void see(QByteArrayView line)
    {
        if (found())
            return;
        if (matched_ > 0 && fits(line, matched_))
            ++matched_;
        else
            matched_ = fits(line, 0) ? 1 : 0;
    }

private:
    static constexpr std::array<QByteArrayView, 7> steps{"Titre=", "Dest=", "CC=", "BCC=", "Date=", "Attach=", "DebutContenu="};
    static bool fits(QByteArrayView line, size_t step)
    {
        // Seen for every body line: compared in place.
        const QByteArrayView key = steps[step];
        if (line.isEmpty() || line.front() != key.front())
            return false;
        return step + 1 == steps.size() ? line == key
                                        : line.size() >= key.size() && std::memcmp(line.data(), key.data(), key.size()) == 0;
    }
    size_t matched_ = 0;
};

int fieldOf(QByteArrayView key)
{
    static const std::array<QByteArrayView, FieldCount> keys{"Titre", "Dest", "CC", "BCC", "Attach", "Date"};
    for (int field = 0; field < FieldCount; ++field) {
        if (key == keys[field])
            return field;
    }
    return -1;
}
} // namespace

QStringList recordLines(const MailItem &mail)
{
    QStringList lines;
    const QString body = mail.Contenu.text();
    if (!needsEscape(mail, body)) {
        // The body's own CR LF breaks already separate its lines.
        lines << QStringLiteral("Titre=") + mail.Titre << QStringLiteral("Dest=") + mail.Dest
              << QStringLiteral("CC=") + mail.CC << QStringLiteral("BCC=") + mail.BCC
              << QStringLiteral("Date=") + mail.Date.dateTimeText() << QStringLiteral("Attach=") + mail.Attach
              << bodyStart << body << endMarker;
        return lines;
    }
    lines << escapeKey + QStringLiteral("=1") << QStringLiteral("Titre=") + escaped(mail.Titre)
          << QStringLiteral("Dest=") + escaped(mail.Dest) << QStringLiteral("CC=") + escaped(mail.CC)
          << QStringLiteral("BCC=") + escaped(mail.BCC) << QStringLiteral("Date=") + mail.Date.dateTimeText()
          << QStringLiteral("Attach=") + escaped(mail.Attach) << bodyStart;
    for (const QString &line : body.split(lineBreak)) {
        const QString text = escaped(line);
        if (text == bodyStart)
            lines << QStringLiteral("DebutContenu\\=");
        else
            lines << (text.startsWith(QLatin1Char('=')) ? QLatin1Char('\\') + text : text);
    }
    lines << endMarker;
    return lines;
}

bool writeRecords(const QList<const MailItem *> &mails, const std::function<bool(QByteArrayView)> &sink)
{
    // A body kept as the code page's bytes is copied as it stands when the
    // plain layout carries it; its place among the lines stays empty. Bodies
    // holding a marker's text or a lone line feed anywhere are left to
    // recordLines(), which looks at them exactly.
    QStringList lines;
    QList<std::pair<qsizetype, const QByteArray *>> bodies;  // line index, bytes
    for (const MailItem *mail : mails) {
        const QByteArray *bytes = mail->Contenu.codePageBytes();
        const bool asBytes = bytes && bytesGoAsTheyStand(*bytes) && !needsEscape(*mail, QString());
        if (!asBytes) {
            lines << recordLines(*mail);
            continue;
        }
        lines << recordLines(MailItem{mail->Date, mail->Titre, mail->Dest, mail->CC, mail->BCC, {}, mail->Attach, true});
        bodies.append({lines.size() - 2, bytes});  // the empty body before the end marker
    }
    if (!AnsiText::fitsCodePage(lines)) {
        for (const auto &[line, bytes] : bodies)
            lines[line] = MailBody::fromCodePage(*bytes).text();
        return AnsiText::encodeLinesTo(lines, sink);
    }
    qsizetype written = 0;
    for (const auto &[line, bytes] : bodies) {
        if (!AnsiText::encodeLinesTo(lines.mid(written, line - written), sink) || !sink(*bytes) || !sink("\r\n"))
            return false;
        written = line + 1;
    }
    return AnsiText::encodeLinesTo(lines.mid(written), sink);
}

Loaded readRecords(QIODevice &device, int maxRecords, int currentYear)
{
    Loaded loaded;
    AnsiText::LineReader reader(device);
    AnsiText::FileText file(reader.utf8());
    loaded.utf8 = reader.utf8();
    bool more = reader.next();
    while (more) {
        if (loaded.mails.size() >= maxRecords) {
            for (; more; more = reader.next())
                loaded.whole = loaded.whole && reader.line().trimmed().isEmpty();
            break;
        }
        std::array<std::optional<QByteArray>, FieldCount> values;
        BodyPlace body;
        bool blankHeaderLine = false;
        bool anyText = false;
        bool bodyFound = false;
        for (; more; more = reader.next()) {
            const QByteArrayView line = reader.line();
            if (line == bodyStartBytes) {
                bodyFound = true;
                more = reader.next();
                break;
            }
            const bool blank = line.trimmed().isEmpty();
            anyText = anyText || !blank;
            blankHeaderLine = blankHeaderLine || blank;
            const qsizetype equals = line.indexOf('=');
            const QByteArrayView key = equals < 0 ? line : line.first(equals);
            const QByteArrayView value = equals < 0 ? QByteArrayView() : line.sliced(equals + 1);
            // A repeated key overwrites, an unknown one is ignored.
            const int field = fieldOf(key);
            if (field >= 0)
                values[field] = value.toByteArray();
            else if (key == escapeKeyBytes && value == "1")
                body.escaped = true;
        }
        if (!bodyFound && !anyText)
            break;  // blank lines after the last record: nothing is lost

        // The body runs from its first line to the end of its last line. Only
        // its place is kept: readBody() takes its bytes from the file.
        bool bodyClosed = false;
        bool previousCrLf = true;
        SwallowedHeader swallowed;
        for (bool first = true; bodyFound && more; more = reader.next(), first = false) {
            const QByteArrayView line = reader.line();
            if (line == endMarkerBytes) {
                bodyClosed = true;
                more = reader.next();
                break;
            }
            swallowed.see(line);
            file.check(line);
            if (first)
                body.offset = reader.lineOffset();
            body.crLfBreaks = body.crLfBreaks && (first || previousCrLf);
            body.size = reader.lineOffset() + line.size() - body.offset;
            previousCrLf = reader.endedWithCrLf();
        }

        MailItem mail;
        mail.InUse = true;
        auto text = [&](const std::optional<QByteArray> &value) {
            const QString decoded = file.decode(value.value_or(QByteArray()));
            return body.escaped ? unescaped(decoded) : decoded;
        };
        mail.Titre = text(values[Titre]);
        mail.Dest = text(values[Dest]);
        mail.CC = text(values[CC]);
        mail.BCC = text(values[BCC]);
        mail.Attach = text(values[Attach]);
        bool dateRead = false;  // a mail without a date would never leave
        if (values[Date]) {
            const auto moment = DateText::readDateTime(file.decode(*values[Date]), currentYear);
            dateRead = moment.has_value();
            mail.Date = moment ? SendMoment::fromDateTime(*moment) : SendMoment();
        }
        loaded.whole = loaded.whole && bodyClosed && !blankHeaderLine && dateRead && !swallowed.found();
        loaded.mails.append(mail);
        loaded.bodies.append(body);
    }
    loaded.whole = loaded.whole && file.exact() && !reader.failed();
    return loaded;
}

std::optional<MailBody> readBody(QIODevice &device, const BodyPlace &place, bool utf8)
{
    QByteArray bytes(place.size, Qt::Uninitialized);
    if (place.size > 0 && (!device.seek(place.offset) || device.read(bytes.data(), place.size) != place.size))
        return std::nullopt;
    AnsiText::FileText file(utf8);
    if (place.crLfBreaks && !place.escaped) {
        // Bytes of the code page are kept as they are, not decoded.
        if (!utf8 && AnsiText::allCharacters(bytes))
            return MailBody::fromCodePage(std::move(bytes));
        return MailBody(file.decode(bytes));
    }
    // Rebuilt line by line: the line ends become CR LF, the escapes are undone.
    QStringList lines;
    for (AnsiText::LineCursor line(bytes); line.next();) {
        const QString decoded = file.decode(line.line());
        lines << (place.escaped ? unescaped(decoded) : decoded);
    }
    if (bytes.endsWith('\n'))
        lines << QString();
    return MailBody(lines.join(lineBreak));
}

} // namespace StoreRecords
