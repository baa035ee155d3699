#pragma once

#include <QDate>
#include <QString>

// Tidying of the editor's send date and send time, run when they lose the focus.

// "dd/mm/yyyy" of the day-first date in text; today's date when the text
// has no "/" or names no calendar day. A missing year is today's year.
QString NormalizeDate(const QString &text, QDate today);

// "hh:mm" of the time in text, seconds dropped; empty when the text has no
// ":" or dateText, one blank and text do not read as a date and a time.
QString NormalizeTime(const QString &text, const QString &dateText, int currentYear);
