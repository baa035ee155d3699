#pragma once

#include <QDateTime>
#include <QDeadlineTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <map>
#include <vector>

class Outbox;

// Hands the outbox's messages to sendmail, one at a time and in order, in the
// background: the program never waits for sendmail. A message leaves the
// outbox only once sendmail has taken it; a failure keeps it and it is tried
// again later, with growing delays, also after a restart.
class OutboxSubmitter : public QObject
{
    Q_OBJECT
public:
    explicit OutboxSubmitter(Outbox &outbox, QObject *parent = nullptr);
    ~OutboxSubmitter() override;

    // Tells once when the system has no sendmail, then submits what the outbox holds.
    void start();
    // Looks at the outbox again soon (after a message was put there).
    void wake();

    // The wait before the n-th retry of a message; the last one repeats.
    std::vector<std::chrono::milliseconds> retryDelays{std::chrono::minutes(1), std::chrono::minutes(5),
                                                       std::chrono::minutes(15), std::chrono::hours(1)};
    // A sendmail still running after this is killed with all its processes.
    std::chrono::milliseconds timeLimit = std::chrono::minutes(2);

    // The process group of the sendmail running now, 0 when none.
    qint64 runningGroup() const { return process_ ? process_->processId() : 0; }

signals:
    // Each attempt's outcome, for whoever watches (the tests).
    void attempted(const QString &message, bool delivered);
    // Sendmail took the message and it is gone from the outbox.
    void left(const QString &message, const QDateTime &at);
    // Sendmail refused it (what it said), and when it is tried again.
    void refused(const QString &message, const QString &reason, const QDateTime &nextTry);

private:
    struct Attempts
    {
        int failures = 0;
        QDeadlineTimer next{0};
        QString toldReason;  // what the user was last told about it
    };
    void submitNext();
    void submit(const QString &message);
    void finish(bool delivered, const QString &reason);
    void killGroup();

    Outbox &outbox_;
    std::map<QString, Attempts> attempts_;
    QProcess *process_ = nullptr;
    QString current_;
    QByteArray errors_;  // sendmail's own error output
    bool timedOut_ = false;
    bool missingSendmailTold_ = false;
    QTimer retry_;
    QTimer limit_;
};
