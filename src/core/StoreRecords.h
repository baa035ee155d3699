#pragma once

#include "MailItem.h"

#include <QByteArrayView>
#include <QIODevice>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// The records of the store file.
//
// A record is "Titre=", "Dest=", "CC=", "BCC=", "Date=", "Attach=",
// "DebutContenu=", the body's lines and "=FinContenu". A mail whose texts this
// layout cannot carry (a line feed inside a one-line field or a lone one in the
// body, a body line that is exactly "=FinContenu" or "DebutContenu=") gets an
// "Echappement=1" line first, and in that record every value and body line is escaped:
// "\" as "\\", line feed as "\n", carriage return as "\r", a leading "=" of
// a body line as "\=", and a body line "DebutContenu=" as "DebutContenu\=".
// Every other record keeps the plain layout.
namespace StoreRecords {

// The lines of one record.
QStringList recordLines(const MailItem &mail);

// Writes the records of the mails, in order, to sink as the file holds them:
// in the code page, or as UTF-8 after a byte-order mark when a text needs it.
// False when sink refused a piece.
bool writeRecords(const QList<const MailItem *> &mails, const std::function<bool(QByteArrayView)> &sink);

// Where a record's body lies in the file, and how it was written there.
struct BodyPlace
{
    qint64 offset = 0;
    qint64 size = 0;
    bool escaped = false;    // the record starts with "Echappement=1"
    bool crLfBreaks = true;  // every line of the body ends with CR LF
};

struct Loaded
{
    QList<MailItem> mails;     // in file order, each marked in use, its body still empty
    QList<BodyPlace> bodies;   // where the body of each of mails is
    bool utf8 = false;         // the file is UTF-8 after a byte-order mark
    // False when something of the file is not in `mails` as written: records
    // beyond the limit, a record cut by the end of the file, a blank header
    // line, a missing or unreadable date, a body holding a whole record header
    // (a damaged end marker), bytes that are no character. Repeated keys (the
    // last wins) and unknown ones are normal.
    bool whole = true;
};

// Reads at most maxRecords records from the file, a piece at a time (Windows-1252, or UTF-8 after a mark). A date is read day-first, a missing year
// being currentYear; an unreadable one gives the zero moment. The bodies are
// checked but left in the file: the rows can be shown before their megabytes
// are read, by readBody() from the same device.
Loaded readRecords(QIODevice &device, int maxRecords, int currentYear);

// The body at `place` of a file read by readRecords(); nothing when the device
// cannot give all of its bytes.
std::optional<MailBody> readBody(QIODevice &device, const BodyPlace &place, bool utf8);

} // namespace StoreRecords
