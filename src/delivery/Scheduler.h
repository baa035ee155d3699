#pragma once

#include <QList>
#include <QString>

#include <functional>

struct Program;
struct OutgoingMail;
struct MailItem;

// One pass every tick: the first pending mail of the current minute goes to
// the chosen mail client. The main window's Timer1_Timer calls SendDueMail
// and nothing else.
class Scheduler
{
public:
    explicit Scheduler(Program &program) : program_(program) {}
    void SendDueMail();

    // Marks the pending mails whose minute has passed unsent and reports the
    // newly marked ones, by slot in row order, to missedMailsFound. Every pass
    // does it; start-up calls it once the store is read.
    void FindMissedMails();
    std::function<void(const QList<qint16> &mails)> missedMailsFound;

    // The user's "send now": each of these mails still marked moves to the
    // current minute, in row order and under the usual collision rule, so
    // that the passes send them one by one; a first pass runs at once.
    void SendMissedNow(const QList<qint16> &mails);

    // Told the identity of each mail just before it is handed over (empty
    // once the hand-over is done), so the mail client can mark it.
    std::function<void(const QString &identity)> handingOver;

private:
    // False when the route raised: the mail stays pending for the next pass.
    bool handOver(qint16 slot);
    void tellFailure(qint16 slot, const QString &reason);

    Program &program_;
    bool passRunning_ = false;
    QString lastFailureShown_;  // mail and minute of the last failure told
};

// The texts a route reads of a mail, in UTF-8.
OutgoingMail OutgoingMailOf(const MailItem &mail);
