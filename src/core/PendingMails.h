#pragma once

#include "EditorFields.h"
#include "ListRows.h"
#include "MailStore.h"
#include "MailTable.h"

#include <QList>
#include <QSet>

// The pending mails: the MailTable, the store file that keeps it and the rows
// of lstHisto that show it. Every change goes through here, so the three never
// disagree: the store is rewritten after each change of the table, and a
// mail's row is always found by its slot.
class PendingMails
{
public:
    explicit PendingMails(const QString &storePath) : store_(storePath) {}

    // The mails, their bodies read (see load()).
    const MailTable &table();
    const MailItem &operator[](qint16 slot);
    // Without reading the bodies: start-up looks for missed mails before they are read.
    SendMoment sendMoment(qint16 slot) const { return table_[slot].Date; }
    // The main window shows these rows; the scheduler marks the missed ones.
    ListRows &lstHisto() { return lstHisto_; }
    const ListRows &lstHisto() const { return lstHisto_; }
    const MailStore &store() const { return store_; }
    MailStore &store() { return store_; }

    // Saves again when the last save failed; true when the file is current.
    bool saveIfBehind();
    // Start-up: removes the pending mails whose identity is given (they reached
    // the mail client before the store could forget them), then saves. The
    // number removed.
    int dropHandedOver(const QSet<QString> &identities);

    // The row that shows the slot's mail, or -1 when it has none (it left
    // or was deleted meanwhile).
    int rowOfSlot(qint16 slot) const { return lstHisto_.indexOfItemData(slot); }
    qint16 slotOfRow(int row) const { return qint16(lstHisto_.ItemData(row)); }

    // Fills the slot from the editor's fields, saves, then places the slot's
    // row by send moment; a row the slot already has is replaced. The save
    // comes before the placing, so a minute moved by a collision reaches the
    // file with the next save. False when the save failed (told to the user
    // once, until a save succeeds).
    bool schedule(qint16 slot, const EditorFields &fields);

    // Gives each of the mails the moment, in the order given, placing each
    // row anew under the collision rule; then saves.
    bool moveTo(const QList<qint16> &mails, SendMoment moment);

    // Frees the slot, saves, and removes the slot's row. Returns the row's
    // text (the mail's row text when it had no row).
    QString release(qint16 slot);

    // Every slot free and no row, as at start-up.
    void clear();
    // Reads the store file into the empty table and list, leaving the bodies
    // in the file until readBodies(): the rows can be shown before megabytes
    // of bodies are read. Whatever reads or changes the mails reads them first.
    void load();
    void readBodies() { store_.ReadBodies(table_); }

private:
    void placeRow(qint16 slot);

    MailTable table_;
    ListRows lstHisto_;
    MailStore store_;
};
