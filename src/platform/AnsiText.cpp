#include "AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace AnsiText {

namespace {
const QByteArray utf8Bom("\xEF\xBB\xBF");

QByteArray toCodePage(const QString &text)
{
    QStringEncoder encoder("windows-1252");
    return encoder.encode(text);
}

QString fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}
} // namespace

bool fitsCodePage(const QString &text)
{
    QStringEncoder encoder("windows-1252");
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
