#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// A mail message parsed back with GMime, for checking what the stand-ins wrote.
struct ParsedMessage
{
    bool valid = false;
    QMap<QString, QString> headers;  // raw header values by lower-case name
    QString to, cc, bcc;             // decoded address lists
    QString subject;                 // decoded
    QString body;                    // decoded text of the text/plain part
    QString bodyCharset;
    QString attachmentName;
    QByteArray attachment;           // decoded bytes of the attachment part
    qint64 dateSeconds = 0;          // the Date header as seconds since 1970
};

ParsedMessage ParseMessage(const QByteArray &raw);
