#pragma once

#include "ListRows.h"
#include "MailTable.h"

// The rows of the pending list: one per slot in use, text PendingRowText,
// ItemData the slot number, strictly ascending by send moment.

// Exactly width characters: padded with blanks, or cut to width - 3 and "...".
QString FitText(const QString &text, qint16 width);
QString RecipientsColumn(const MailItem &mail);
// 100 characters: date and time, recipients, subject.
QString PendingRowText(const MailItem &mail);

// Places the row of slot by its send moment; a mail whose minute is taken
// moves one minute later for each pending mail in its way.
void InsertPendingRow(MailTable &table, ListRows &lstHisto, qint16 slot);
// Removes row `row`, then places slot's row anew.
void ReplacePendingRow(MailTable &table, ListRows &lstHisto, qint16 row, qint16 slot);
