#pragma once

#include "ListRows.h"

#include <QString>

// Recipient lists: entries separated by ";", no quoting. Only U+0020 counts
// as a blank; tabs and line breaks inside an entry stay as typed.

// The entry without blanks at either end, inner runs of blanks reduced to one.
QString SqueezeSpaces(QString entry);

// The canonical form of a recipient text: empty entries dropped, blanks tidied,
// order and repeats kept. Every kept entry is learned into addressBook.
QString NormalizeRecipients(const QString &text, ListRows &addressBook);

// Inserts address before the first row not less than it (UTF-16 code units,
// case-sensitive), unless that row equals it; appends when every row is less.
void InsertSortedUnique(ListRows &list, const QString &address);
