#include "AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace AnsiText {

namespace {
const QByteArray utf8Bom("\xEF\xBB\xBF");

// The 8-bit text of `text`, or nothing when the code page cannot hold every
// character: the converter must report no error and the bytes must read back
// to the same text (a lone surrogate, for one, encodes to nothing without error).
std::optional<QByteArray> toCodePage(const QString &text)
{
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
    QStringDecoder decoder(codePageName().constData());
    if (!decoder.isValid()) {
        *exact = false;
        return QString::fromLatin1(bytes);
    }
    QString text = decoder.decode(bytes);
    *exact = !decoder.hasError();
    return text;
}

QString fromUtf8(QByteArrayView bytes, bool *exact)
{
    QStringDecoder decoder(QStringConverter::Utf8);
    QString text = decoder.decode(bytes);
    *exact = !decoder.hasError();
    return text;
}
} // namespace

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

bool fitsCodePage(const QString &text)
{
    return toCodePage(text).has_value();
}

QByteArray encodeLines(const QStringList &lines)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    if (auto bytes = toCodePage(text))
        return *bytes;
    return utf8Bom + text.toUtf8();
}

QStringList decodeLines(const QByteArray &content)
{
    bool exact = true;
    return decodeLines(content, &exact);
}

QStringList decodeLines(const QByteArray &content, bool *exact)
{
    QString text = content.startsWith(utf8Bom) ? fromUtf8(QByteArrayView(content).sliced(utf8Bom.size()), exact)
                                               : fromCodePage(content, exact);
    QStringList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const qsizetype length = (end > start && text.at(end - 1) == QLatin1Char('\r') && end < text.size())
                                     ? end - 1 - start
                                     : end - start;
        lines.append(text.mid(start, length));
        start = end + 1;
    }
    return lines;
}

} // namespace AnsiText
