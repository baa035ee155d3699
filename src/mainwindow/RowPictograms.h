#pragma once

#include <QIcon>

// The small pictograms at the head of a list row, drawn here like the rest of
// the program's artwork: a mail whose minute passed unsent, and where a
// transmitted mail's message is (waiting in the outbox, refused by sendmail
// and waiting for the next try, gone, or never put in the outbox).
namespace RowPictograms {

enum class Kind { Missed, Waiting, Refused, Left, NotHandedOver };

QIcon icon(Kind kind);

} // namespace RowPictograms
