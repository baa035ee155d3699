#include "MailBody.h"

#include "AnsiText.h"

MailBody::MailBody(const QString &text)
{
    if (auto bytes = AnsiText::toCodePage(text); bytes && bytes->size() == text.size()) {
        bytes_ = std::move(*bytes);
    } else {
        text_ = text;
        wide_ = true;
    }
}

MailBody MailBody::fromCodePage(QByteArray bytes)
{
    MailBody body;
    body.bytes_ = std::move(bytes);
    return body;
}

QString MailBody::text() const
{
    if (wide_)
        return text_;
    bool exact = true;
    return AnsiText::fromCodePage(bytes_, &exact);
}
