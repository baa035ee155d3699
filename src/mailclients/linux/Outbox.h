#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

// The Linux mail client's outbox: one file per message handed over, kept in
// a folder beside the program until sendmail has taken it. A message written
// here is safe on disk before the hand-over returns.
//
// Entries are named by their bytes, as the folder holds them: a name that is
// not valid UTF-8 is still an entry. Three folders inside belong to the
// program and are no entries: ".écriture" (messages being written, moved in
// whole), ".remis" (messages sendmail took while the store may still list
// their mail) and "Mis de côté" (entries that are not messages).
class Outbox
{
public:
    explicit Outbox(QString directory) : directory_(std::move(directory)) {}

    const QString &directory() const { return directory_; }

    // The identity of the pending mail being handed over (see MailIdentity),
    // carried in the name of the next message put; empty for none.
    void setHandOverIdentity(QString identity) { identity_ = std::move(identity); }

    // Writes the message as a new file, flushed and synced with its folder.
    // Raises automation::Failure (member "Send") when it cannot be written.
    void put(const std::string &message);

    // The entries waiting, oldest first.
    std::vector<QByteArray> entries() const;
    // The same, as names to show.
    QStringList messages() const;
    QString path(const QString &message) const { return directory_ + QLatin1Char('/') + message; }
    static QString shown(const QByteArray &entry);
    // The temporary file of a message that an earlier version was writing
    // here when it was killed ("….eml." and six letters or digits).
    static bool leftHalfWritten(const QByteArray &entry);

    // Opens an entry to be read by sendmail (never waiting on a pipe): a file
    // descriptor, or -1 with the reason. notMessage tells that the entry,
    // links followed, is no regular file.
    int openMessage(const QByteArray &entry, QString &reason, bool &notMessage) const;
    // False when the entry is still there afterwards.
    bool remove(const QByteArray &entry);
    bool remove(const QString &message);
    // Moves an entry that is no message into "Mis de côté"; the folder it went to, empty on failure.
    QString setAside(const QByteArray &entry);
    // Keeps a message sendmail took until forgetSubmitted(): start-up still
    // knows it left while the store may list its mail.
    bool keepSubmitted(const QByteArray &entry);
    void forgetSubmitted();
    // The identities carried by the entries and by the messages kept as submitted.
    QSet<QString> handedOver() const;
    // Removes what a killed run left half-written.
    void removeUnfinishedPuts();

    // Called after each message written, with its entry, so the submitter can start at once.
    std::function<void(const QByteArray &entry)> deposited;

private:
    QString folder(const char *name) const;

    QString directory_;
    QString identity_;
    int written_ = 0;
};
