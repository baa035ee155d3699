#pragma once

#include "MailDraft.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <map>

class Outbox;
class OutboxSubmitter;

// What became of each message handed to the outbox: still waiting, refused
// by sendmail (its answer and the next try), or gone (and when). It keeps no
// file: at start-up the messages an earlier run left are read back from the
// outbox, and each of them is told when it finally leaves.
class OutboxWatch : public QObject
{
    Q_OBJECT
public:
    enum class State { Waiting, Refused, Left };
    struct Message
    {
        State state = State::Waiting;
        MessageSummary summary;
        QString answer;      // sendmail's last refusal
        QDateTime nextTry;
        QDateTime leftAt;
        bool toldWhenLeaves = false;  // refused, or waiting since an earlier run
    };

    OutboxWatch(Outbox &outbox, OutboxSubmitter &submitter);

    // Reads the messages waiting from an earlier run, oldest first (found() for each).
    void start();
    // After each message written: the newest one not yet known is it (handedOver()).
    void deposited();

    // Null for a message never seen.
    const Message *find(const QString &message) const;
    int waiting() const;
    // After the quit was confirmed: the notices about waiting mails could not
    // be taken back by the next run, so one notice (or box) says how many wait instead.
    void tellWaitingAtQuit();

signals:
    void found(const QString &message);
    void handedOver(const QString &message);
    void changed(const QString &message);

private:
    Message &read(const QString &message);
    void refused(const QString &message, const QString &answer, const QDateTime &nextTry);
    void left(const QString &message, const QDateTime &at);
    void tellDeparture(const QString &message);
    void tellDepartures();

    Outbox &outbox_;
    std::map<QString, Message> messages_;
    QStringList departed_;  // to be told
    QTimer departureNotice_;
};
