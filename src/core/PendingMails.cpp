#include "PendingMails.h"

#include "MailIdentity.h"
#include "PendingRows.h"

const MailTable &PendingMails::table()
{
    readBodies();
    return table_;
}

const MailItem &PendingMails::operator[](qint16 slot)
{
    readBodies();
    return table_[slot];
}

bool PendingMails::schedule(qint16 slot, const EditorFields &fields)
{
    readBodies();
    FillMailFromEditor(table_, slot, fields);
    const bool saved = store_.SaveMailStore(table_);
    placeRow(slot);
    return saved;
}

bool PendingMails::moveTo(const QList<qint16> &mails, SendMoment moment)
{
    readBodies();
    for (const qint16 slot : mails) {
        table_[slot].Date = moment;
        placeRow(slot);
    }
    return store_.SaveMailStore(table_);
}

QString PendingMails::release(qint16 slot)
{
    readBodies();
    const int row = rowOfSlot(slot);
    const QString text = row >= 0 ? lstHisto_.List(row) : PendingRowText(table_[slot]);
    table_.ReleaseSlot(slot);
    store_.SaveMailStore(table_);
    lstHisto_.RemoveItem(row);
    return text;
}

void PendingMails::clear()
{
    readBodies();
    lstHisto_.Clear();
    table_.clear();
}

void PendingMails::load()
{
    store_.LoadMailStore(table_, lstHisto_, MailStore::Bodies::Later);
}

void PendingMails::placeRow(qint16 slot)
{
    const int row = rowOfSlot(slot);
    if (row >= 0)
        ReplacePendingRow(table_, lstHisto_, qint16(row), slot);
    else
        InsertPendingRow(table_, lstHisto_, slot);
}

bool PendingMails::saveIfBehind()
{
    return !store_.behind() || store_.SaveMailStore(table());
}

int PendingMails::dropHandedOver(const QSet<QString> &identities)
{
    if (identities.isEmpty())
        return 0;  // the bodies stay unread, as most starts find no message of a pending mail
    readBodies();
    int dropped = 0;
    for (qint16 slot = 1; slot <= MailSlots; ++slot) {
        if (table_[slot].InUse && identities.contains(MailIdentity(table_[slot]))) {
            lstHisto_.RemoveItem(rowOfSlot(slot));
            table_.ReleaseSlot(slot);
            ++dropped;
        }
    }
    if (dropped > 0)
        store_.SaveMailStore(table_);
    return dropped;
}
