#pragma once

#include "ListRows.h"
#include "MailTable.h"
#include "StoreRecords.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The pending mails kept across runs in the store file next to the program.
class MailStore
{
public:
    explicit MailStore(QString path) : path_(std::move(path)) {}

    const QString &path() const { return path_; }

    // The last save failed: the file may still hold mails already sent or deleted.
    bool behind() const { return behind_; }
    // Called after each save that succeeded.
    std::function<void()> saved;

    // Rewrites the whole file from the slots in use, in slot order; with no
    // slot in use the file is removed. On failure the previous file stays as it
    // was, the user is told once (until a save succeeds again) and false is returned.
    bool SaveMailStore(const MailTable &table);

    enum class Bodies { Now, Later };
    // Fills slots 1, 2, ... in file order and places their rows. Expects an
    // empty table and list. A file that cannot be taken whole is kept beside
    // under a new name before anything rewrites the store, and the user is told.
    // With Bodies::Later the bodies stay empty, the file open, until ReadBodies().
    void LoadMailStore(MailTable &table, ListRows &lstHisto, Bodies bodies = Bodies::Now);
    // Reads the bodies a load left in the file into their slots, which must
    // not have changed meanwhile; does nothing when none wait.
    void ReadBodies(MailTable &table);

    // Removes the temporary files of saves and copies that a killed run cut short.
    void removeUnfinishedSaves() const;

    // Where the last load kept a file it could not take whole; empty when none.
    const QString &keptCopyPath() const { return keptCopy_; }

private:
    void setAsideOriginal(bool readable);
    bool keepOriginal(const std::optional<QByteArray> &content);
    void tell(const QString &text) const;

    QString path_;
    QString keptCopy_;
    bool failureShown_ = false;
    bool behind_ = false;
    // The file on disk was not taken whole and no copy of it exists yet:
    // it must be set aside before a save may replace it.
    bool originalAtRisk_ = false;
    // The file a load read, still open, while the bodies it found wait in it.
    std::unique_ptr<QIODevice> bodySource_;
    QList<StoreRecords::BodyPlace> waitingBodies_;  // of slots 1, 2, ...
    bool bodiesInUtf8_ = false;
};
