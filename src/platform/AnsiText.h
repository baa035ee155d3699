#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <cstring>
#include <functional>
#include <optional>

// The program's two files: 8-bit text in the ANSI code page with CR LF line ends.
// Text the code page cannot hold is written as UTF-8 after a byte-order mark instead,
// so that no character is ever replaced.
namespace AnsiText {

// Name of the 8-bit code page the files are written in.
QByteArray codePageName();

// The text in the code page, one byte per character; nothing when a character has no byte there.
std::optional<QByteArray> toCodePage(const QString &text);
// The code page's bytes as text; `exact` tells whether every byte was a character.
QString fromCodePage(QByteArrayView bytes, bool *exact);

// True when every character of every line has a byte of its own in the code page.
bool fitsCodePage(const QStringList &lines);

// True when every byte is a character of the code page, so the bytes can stand for the text.
bool allCharacters(QByteArrayView bytes);

// Every line followed by CR LF.
QByteArray encodeLines(const QStringList &lines);

// As encodeLines, handing the bytes to sink in pieces of bounded size; false
// when sink refused a piece.
bool encodeLinesTo(const QStringList &lines, const std::function<bool(QByteArrayView)> &sink);

// Splits at CR LF or a lone LF (a lone CR stays in its line); a final line end does not start an empty line.
// Content starting with the UTF-8 byte-order mark is read as UTF-8.
QStringList decodeLines(const QByteArray &content);

// As decodeLines; `exact` (when given) tells whether every byte was a valid character of its encoding.
QStringList decodeLines(const QByteArray &content, bool *exact);

// A file's content as read, its encoding told by the byte-order mark. Line
// ends, "=" and the ASCII keys are the same bytes in either encoding, so a
// reader can cut the bytes first and decode only the pieces it keeps.
class FileText
{
public:
    explicit FileText(const QByteArray &content);
    // For content read elsewhere, whose byte-order mark told the encoding.
    explicit FileText(bool utf8) : utf8_(utf8) {}
    // The content without the byte-order mark.
    QByteArrayView bytes() const { return bytes_; }
    QString decode(QByteArrayView piece);
    // Counts the piece for exact() as decode() would, without keeping its text.
    void check(QByteArrayView piece);
    // True when the content is in the code page (no byte-order mark).
    bool inCodePage() const { return !utf8_; }
    // False once a decoded piece held bytes that are no character of the encoding.
    bool exact() const { return exact_; }

private:
    QByteArrayView bytes_;
    bool utf8_ = false;
    bool exact_ = true;
};

// Walks the lines of bytes as decodeLines cuts them, without copying them.
class LineCursor
{
public:
    explicit LineCursor(QByteArrayView bytes) : bytes_(bytes) {}
    // Moves to the next line; false at the end.
    bool next();
    QByteArrayView line() const { return line_; }
    // Where the current line starts.
    qsizetype lineStart() const { return lineStart_; }
    // Where the current line's text ends (before its line end).
    qsizetype lineEnd() const { return lineStart_ + line_.size(); }
    // True when the current line ended with CR LF (not a lone LF, not the end).
    bool endedWithCrLf() const { return crlf_; }

private:
    QByteArrayView bytes_;
    QByteArrayView line_;
    qsizetype start_ = 0;
    qsizetype lineStart_ = 0;
    bool crlf_ = false;
};

// Reads a device's lines as LineCursor cuts them, a piece of the file at a
// time, so that a file of megabytes is never whole in memory. A UTF-8
// byte-order mark at the start is skipped and told by utf8().
class LineReader
{
public:
    explicit LineReader(QIODevice &device);
    // Moves to the next line; false at the end. Inline: a store of megabytes
    // is mostly short body lines, each of them through here.
    bool next()
    {
        for (;;) {
            const char *const data = buffer_.constData();
            const qsizetype size = buffer_.size();
            const auto *feed = static_cast<const char *>(std::memchr(data + searched_, '\n', size - searched_));
            if (!feed && !atEnd_) {
                searched_ = size;
                readMore();
                continue;
            }
            if (!feed && start_ >= size)
                return false;
            const qsizetype end = feed ? feed - data : size;
            crLf_ = feed && end > start_ && data[end - 1] == '\r';
            lineStart_ = start_;
            line_ = QByteArrayView(data + start_, end - start_ - (crLf_ ? 1 : 0));
            start_ = searched_ = feed ? end + 1 : size;
            return true;
        }
    }
    // Valid until the next call of next().
    QByteArrayView line() const { return line_; }
    // Where the current line starts in the device.
    qint64 lineOffset() const { return bufferOffset_ + lineStart_; }
    bool endedWithCrLf() const { return crLf_; }
    bool utf8() const { return utf8_; }
    // True when the device failed before its end.
    bool failed() const { return failed_; }

private:
    void readMore();

    static constexpr qsizetype PieceSize = 32 * 1024;
    QIODevice &device_;
    QByteArray buffer_;
    qint64 bufferOffset_ = 0;   // where buffer_ starts in the device
    qsizetype lineStart_ = 0;   // of the current line in buffer_
    qsizetype start_ = 0;       // of the next line in buffer_
    qsizetype searched_ = 0;    // buffer_ holds no line feed from start_ to here
    QByteArrayView line_;
    bool crLf_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
    bool utf8_ = false;
};

} // namespace AnsiText
