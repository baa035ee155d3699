#pragma once

#include "MailItem.h"

#include <array>

constexpr qint16 MailSlots = 50;

// A row's ItemData names a mail only when it is a slot number.
constexpr bool isMailSlot(qint32 slot) { return slot >= 1 && slot <= MailSlots; }

// The pending mails, in slots numbered 1 to MailSlots. A free slot may still
// hold the texts of a mail that left; nothing reads them.
class MailTable
{
public:
    MailItem &operator[](qint16 slot) { return slots_.at(slot - 1); }
    const MailItem &operator[](qint16 slot) const { return slots_.at(slot - 1); }

    // The lowest free slot, or 0 when all are in use.
    qint16 FindFreeSlot() const;
    void ReleaseSlot(qint16 slot) { (*this)[slot].InUse = false; }
    int inUseCount() const;
    // Every slot free and emptied, as at start-up.
    void clear();

private:
    std::array<MailItem, MailSlots> slots_;
};
