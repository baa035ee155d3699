#pragma once

#include "MailItem.h"

#include <QString>

// What names a pending mail across runs without a field of its own: 16
// hexadecimal digits drawn from the record the store file keeps of it, so
// the mail read back from the file has the identity it had when written. The
// message handed over carries it, and start-up recognises a pending mail that
// already reached the mail client.
QString MailIdentity(const MailItem &mail);
