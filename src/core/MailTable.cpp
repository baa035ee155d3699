#include "MailTable.h"

qint16 MailTable::FindFreeSlot() const
{
    for (qint16 slot = 1; slot <= MailSlots; ++slot) {
        if (!(*this)[slot].InUse)
            return slot;
    }
    return 0;
}

int MailTable::inUseCount() const
{
    int count = 0;
    for (const MailItem &mail : slots_)
        count += mail.InUse ? 1 : 0;
    return count;
}

void MailTable::clear()
{
    slots_.fill(MailItem{});
}
