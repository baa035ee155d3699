#include "AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace AnsiText {

namespace {
const QByteArray utf8Bom("\xEF\xBB\xBF");

// The system's ANSI code page (CP_ACP) on Windows; elsewhere that of a French Windows.
#ifdef Q_OS_WIN
constexpr auto codePage = QStringConverter::System;
#else
constexpr const char *codePage = "windows-1252";
#endif

QByteArray toCodePage(const QString &text)
{
    QStringEncoder encoder(codePage);
    return encoder.encode(text);
}

QString fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(codePage);
    return decoder.decode(bytes);
}
} // namespace

bool fitsCodePage(const QString &text)
{
    QStringEncoder encoder(codePage);
    const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError() && fromCodePage(bytes) == text;
}

QByteArray encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    if (fitsCodePage(text))
        return toCodePage(text);
    return utf8Bom + text.toUtf8();
}

QStringList decodeLines(const QByteArray &content)
{
    QString text = content.startsWith(utf8Bom) ? QString::fromUtf8(content.mid(utf8Bom.size())) : fromCodePage(content);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

} // namespace AnsiText
