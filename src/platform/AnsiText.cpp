#include "AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace AnsiText {

namespace {
const QByteArray utf8Bom("\xEF\xBB\xBF");

// A code page of one byte per character. Files of several megabytes go
// through this table instead of the converter's own loop, which is several
// times slower. `usable` is false when the code page is not one byte per
// character; the converter itself is used then.
struct ByteTable
{
    bool usable = false;
    std::array<char16_t, 256> toUnicode{};
    std::array<bool, 256> undefined{};
    bool anyUndefined = false;
    // The byte of each character below U+0100, -1 for none; the few others
    // (at most 256) sorted by character.
    std::array<qint16, 256> fromLow{};
    std::vector<std::pair<char16_t, uchar>> fromHigh;

    qint16 byteOf(char16_t unit) const
    {
        if (unit < 256)
            return fromLow[unit];
        const auto found = std::lower_bound(fromHigh.begin(), fromHigh.end(), std::pair<char16_t, uchar>(unit, 0));
        return found != fromHigh.end() && found->first == unit ? found->second : -1;
    }

    void complete()
    {
        fromLow.fill(-1);
        for (int byte = 0; byte < 256; ++byte) {
            anyUndefined = anyUndefined || undefined[byte];
            const char16_t unit = toUnicode[byte];
            if (undefined[byte] || byteOf(unit) >= 0)
                continue;
            if (unit < 256)
                fromLow[unit] = qint16(byte);
            else
                fromHigh.insert(std::lower_bound(fromHigh.begin(), fromHigh.end(), std::pair(unit, uchar(0))),
                                std::pair(unit, uchar(byte)));
        }
        usable = true;
    }
};

#ifdef Q_OS_WIN
// The system's code page, as the converter maps it, when it has one byte per
// character (a lone lead byte of a double-byte page still decodes to one).
ByteTable buildTable()
{
    ByteTable table;
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1 || !QStringDecoder(codePageName().constData()).isValid())
        return table;
    for (int byte = 0; byte < 256; ++byte) {
        QStringDecoder decoder(codePageName().constData());
        // The converter drops a NUL at the end of what it decodes, so each
        // byte goes in before a space.
        const char pair[2] = {char(byte), ' '};
        QString text = decoder.decode(QByteArrayView(pair, 2));
        if (text.endsWith(u' '))
            text.chop(1);
        if (text.size() != 1 || text.at(0).isSurrogate())
            return table;
        table.toUnicode[byte] = text.at(0).unicode();
        table.undefined[byte] = decoder.hasError() || text.at(0).unicode() == 0xFFFD;
    }
    table.complete();
    return table;
}
#else
// Windows-1252 as the converter maps it (the five bytes Windows leaves
// undefined stand for the C1 controls of the same number), written out so
// that reading a file does not load the converter's whole library; a test
// holds it to the converter.
ByteTable buildTable()
{
    static constexpr char16_t from80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    ByteTable table;
    for (int byte = 0; byte < 256; ++byte)
        table.toUnicode[byte] = byte >= 0x80 && byte < 0xA0 ? from80[byte - 0x80] : char16_t(byte);
    table.complete();
    return table;
}
#endif

const ByteTable &byteTable()
{
    static const ByteTable table = buildTable();
    return table;
}

QString fromUtf8(QByteArrayView bytes, bool *exact)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *exact = !decoder.hasError();
    return text;
}
} // namespace

// The 8-bit text of `text`, or nothing when the code page cannot hold every
// character: the converter must report no error and the bytes must read back
// to the same text (a lone surrogate, for one, encodes to nothing without error).
std::optional<QByteArray> toCodePage(const QString &text)
{
    const ByteTable &table = byteTable();
    if (table.usable) {
        QByteArray bytes(text.size(), Qt::Uninitialized);
        char *out = bytes.data();
        for (const QChar c : text) {
            const qint16 byte = table.byteOf(c.unicode());
            if (byte < 0)
                return std::nullopt;
            *out++ = char(byte);
        }
        return bytes;
    }
    QStringEncoder encoder(codePageName().constData());
    if (!encoder.isValid())
        return std::nullopt;
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    QStringDecoder decoder(codePageName().constData());
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != text)
        return std::nullopt;
    return bytes;
}

QString fromCodePage(QByteArrayView bytes, bool *exact)
{
    const ByteTable &table = byteTable();
    if (table.usable) {
        QString text(bytes.size(), Qt::Uninitialized);
        QChar *out = text.data();
        for (const char byte : bytes)
            *out++ = QChar(table.toUnicode[uchar(byte)]);
        *exact = !table.anyUndefined
            || std::none_of(bytes.begin(), bytes.end(), [&](char byte) { return table.undefined[uchar(byte)]; });
        return text;
    }
    QStringDecoder decoder(codePageName().constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        *exact = false;
        return QString::fromLatin1(bytes);
    }
    QString text = decoder.decode(bytes);
    *exact = !decoder.hasError();
    return text;
}

bool fitsCodePage(const QStringList &lines)
{
    const ByteTable &table = byteTable();
    return table.usable && std::all_of(lines.begin(), lines.end(), [&table](const QString &line) {
        return std::all_of(line.begin(), line.end(), [&table](QChar c) { return table.byteOf(c.unicode()) >= 0; });
    });
}

bool allCharacters(QByteArrayView bytes)
{
    const ByteTable &table = byteTable();
    return table.usable
        && (!table.anyUndefined || std::none_of(bytes.begin(), bytes.end(), [&](char byte) { return table.undefined[uchar(byte)]; }));
}

QByteArray codePageName()
{
    // The one place where the code page is chosen. Every file of the program
    // goes through here, so a platform with its own ANSI code page sets it here.
#ifdef Q_OS_WIN
    // Qt's system converter, which on Windows is the ANSI code page (CP_ACP).
    return QStringConverter::nameForEncoding(QStringConverter::System);
#else
    return QByteArrayLiteral("windows-1252");
#endif
}

QByteArray encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    encodeLinesTo(lines, [&bytes](QByteArrayView piece) {
        bytes += piece;
        return true;
    });
    return bytes;
}

bool encodeLinesTo(const QStringList &lines, const std::function<bool(QByteArrayView)> &sink)
{
    constexpr qsizetype pieceSize = 64 * 1024;
    const QLatin1String lineEnd("\r\n");
    const ByteTable &table = byteTable();
    const auto fits = [&table](const QString &line) {
        return std::all_of(line.begin(), line.end(), [&table](QChar c) { return table.byteOf(c.unicode()) >= 0; });
    };
    if (table.usable && std::all_of(lines.begin(), lines.end(), fits)) {
        // Room for one more character and a line end after the piece is full.
        QByteArray piece(pieceSize + 3, Qt::Uninitialized);
        char *const start = piece.data();
        char *out = start;
        const auto flushFull = [&] {
            if (out - start < pieceSize)
                return true;
            const bool taken = sink(QByteArrayView(start, out - start));
            out = start;
            return taken;
        };
        for (const QString &line : lines) {
            for (const QChar c : line) {
                *out++ = char(table.byteOf(c.unicode()));
                if (!flushFull())
                    return false;
            }
            *out++ = '\r';
            *out++ = '\n';
            if (!flushFull())
                return false;
        }
        return sink(QByteArrayView(start, out - start));
    }
    QString text;
    if (!table.usable) {
        for (const QString &line : lines)
            text += line + lineEnd;
        if (const auto bytes = toCodePage(text))
            return sink(*bytes);
    }
    // UTF-8 after a byte-order mark, a line at a time, long lines in slices:
    // the encoder keeps a surrogate pair cut by a slice whole.
    if (!sink(utf8Bom))
        return false;
    QStringEncoder encoder(QStringConverter::Utf8);
    for (const QString &line : lines) {
        for (qsizetype at = 0; at < line.size(); at += pieceSize) {
            const QByteArray bytes = encoder.encode(QStringView(line).sliced(at, std::min(pieceSize, line.size() - at)));
            if (!sink(bytes))
                return false;
        }
        if (!sink("\r\n"))
            return false;
    }
    return true;
}

QStringList decodeLines(const QByteArray &content)
{
    return decodeLines(content, nullptr);
}

QStringList decodeLines(const QByteArray &content, bool *exact)
{
    FileText text(content);
    QStringList lines;
    for (LineCursor cursor(text.bytes()); cursor.next();)
        lines.append(text.decode(cursor.line()));
    if (exact)
        *exact = text.exact();
    return lines;
}

FileText::FileText(const QByteArray &content) : bytes_(content)
{
    if (content.startsWith(utf8Bom)) {
        utf8_ = true;
        bytes_ = bytes_.sliced(utf8Bom.size());
    }
}

QString FileText::decode(QByteArrayView piece)
{
    bool pieceExact = true;
    QString text = utf8_ ? fromUtf8(piece, &pieceExact) : fromCodePage(piece, &pieceExact);
    exact_ = exact_ && pieceExact;
    return text;
}

void FileText::check(QByteArrayView piece)
{
    // The code page's table tells without a text (nothing to tell when every
    // byte is a character); other encodings are decoded.
    const ByteTable &table = byteTable();
    if (utf8_ || !table.usable)
        (void)decode(piece);
    else if (table.anyUndefined)
        exact_ = exact_ && allCharacters(piece);
}

bool LineCursor::next()
{
    if (start_ >= bytes_.size())
        return false;
    qsizetype end = bytes_.indexOf('\n', start_);
    const bool broken = end >= 0;
    if (!broken)
        end = bytes_.size();
    crlf_ = broken && end > start_ && bytes_.at(end - 1) == '\r';
    lineStart_ = start_;
    line_ = bytes_.sliced(start_, end - start_ - (crlf_ ? 1 : 0));
    start_ = end + 1;
    return true;
}

LineReader::LineReader(QIODevice &device) : device_(device), bufferOffset_(device.pos())
{
    // Room for a piece and the line it cut, below the size that the allocator maps apart.
    buffer_.reserve(2 * PieceSize);
    while (buffer_.size() < utf8Bom.size() && !atEnd_)
        readMore();
    if (buffer_.startsWith(utf8Bom)) {
        utf8_ = true;
        start_ = searched_ = utf8Bom.size();
    }
}

void LineReader::readMore()
{
    // The lines already handed out go; the one being read moves to the front,
    // so that the buffer is reused, not grown into fresh memory for every piece.
    bufferOffset_ += start_;
    const qsizetype kept = buffer_.size() - start_;
    std::memmove(buffer_.data(), buffer_.constData() + start_, kept);
    searched_ -= start_;
    start_ = 0;
    buffer_.resize(kept + PieceSize);
    const qint64 got = device_.read(buffer_.data() + kept, PieceSize);
    buffer_.resize(kept + std::max<qint64>(got, 0));
    atEnd_ = got <= 0;
    failed_ = got < 0;
}

} // namespace AnsiText
