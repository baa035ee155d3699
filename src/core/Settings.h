#pragma once

#include "ListRows.h"
#include "MailClientChoice.h"

#include <QString>

// The settings file: the mail client choice and the address book.
// Written only when the user quits; false when the file could not be written.
bool SaveSettings(const QString &path, const MailClientChoice &mailClient, const ListRows &addressBook);
void LoadSettings(const QString &path, MailClientChoice &mailClient, ListRows &addressBook);
