#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <string>

// The Linux mail client's outbox: one file per message handed over, kept in
// a folder beside the program until sendmail has taken it. A message written
// here is safe on disk before the hand-over returns.
class Outbox
{
public:
    explicit Outbox(QString directory) : directory_(std::move(directory)) {}

    const QString &directory() const { return directory_; }

    // Writes the message as a new file, flushed and synced with its folder.
    // Raises automation::Failure (member "Send") when it cannot be written.
    void put(const std::string &message);

    // The messages waiting, oldest first (file names in the folder).
    QStringList messages() const;
    QString path(const QString &message) const { return directory_ + QLatin1Char('/') + message; }
    // False when the message is still there afterwards.
    bool remove(const QString &message);

    // Called after each message written, so the submitter can start at once.
    std::function<void()> deposited;

private:
    QString directory_;
    int written_ = 0;
};
