#pragma once

#include <QString>

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

private:
    // False when the route raised: the mail stays pending for the next pass.
    bool deliver(qint16 slot);
    void tellFailure(qint16 slot, const QString &reason);

    Program &program_;
    bool passRunning_ = false;
    QString lastFailureShown_;  // mail and minute of the last failure told
};

// The texts a route reads of a mail, in UTF-8.
OutgoingMail OutgoingMailOf(const MailItem &mail);
