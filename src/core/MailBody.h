#pragma once

#include <QByteArray>
#include <QString>

// A mail's body, kept in the least memory its characters allow: the code
// page's bytes, one per character, when every character has one (nearly
// always), else the text itself. Fifty full mails stay pending for weeks,
// while their text is needed only when one is opened, saved or sent.
class MailBody
{
public:
    MailBody() = default;
    MailBody(const QString &text);  // NOLINT: a body is set from a text
    // Bytes known to be characters of the code page.
    static MailBody fromCodePage(QByteArray bytes);

    QString text() const;
    // The code page's bytes; null when the body is kept as text.
    const QByteArray *codePageBytes() const { return wide_ ? nullptr : &bytes_; }
    qsizetype size() const { return wide_ ? text_.size() : bytes_.size(); }
    bool isEmpty() const { return size() == 0; }

    friend bool operator==(const MailBody &a, const MailBody &b)
    {
        return a.wide_ == b.wide_ ? a.bytes_ == b.bytes_ && a.text_ == b.text_ : a.text() == b.text();
    }

private:
    QByteArray bytes_;
    QString text_;
    bool wide_ = false;
};
