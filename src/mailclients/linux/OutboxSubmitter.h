#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <vector>

class Outbox;
struct SenderIdentity;

// Hands the outbox's messages to sendmail, one at a time and in order, in the
// background: the program never waits for sendmail. A message leaves the
// outbox only once sendmail has taken it; a failure keeps it and it is tried
// again later, with growing delays, also after a restart. Each failure is
// told once for its reason, whatever the number of messages it holds back;
// an attempt costs the same whatever the number of messages waiting.
class OutboxSubmitter : public QObject
{
    Q_OBJECT
public:
    // sender: the mail client's, read at each attempt.
    OutboxSubmitter(Outbox &outbox, const SenderIdentity &sender, QObject *parent = nullptr);
    ~OutboxSubmitter() override;

    // Tells once when the system has no sendmail, then submits what the outbox holds.
    void start();
    // Looks at the outbox again soon.
    void wake();
    // A message just put in the outbox.
    void add(const QByteArray &entry);
    // Ends the work at quit: a sendmail about to finish is given a moment, else it is killed.
    void stop();

    // True while the store file may still list a mail already handed over:
    // a message sendmail takes is then kept aside instead of removed, so that
    // a start after a crash knows it left.
    std::function<bool()> storeBehind;

    // The wait before the n-th retry of a message; the last one repeats.
    std::vector<std::chrono::milliseconds> retryDelays{std::chrono::minutes(1), std::chrono::minutes(5),
                                                       std::chrono::minutes(15), std::chrono::hours(1)};
    // A sendmail still running after this is killed with all its processes.
    std::chrono::milliseconds timeLimit = std::chrono::minutes(2);

    // The process group of the sendmail running now, 0 when none.
    qint64 runningGroup() const { return process_ ? process_->processId() : 0; }

signals:
    // Each attempt's outcome, for whoever watches (the tests).
    void attempted(const QString &message, bool taken);
    // Sendmail took the message and it is gone from the outbox.
    void left(const QString &message, const QDateTime &at);
    // Sendmail refused it (what it said), and when it is tried again.
    void refused(const QString &message, const QString &reason, const QDateTime &nextTry);

private:
    struct Attempts
    {
        int failures = 0;
        qint64 due = 0;  // on clock_, in ms; -1 once sendmail took it but it could not be removed
    };
    void rescan();
    void schedule(const QByteArray &entry, qint64 due);
    void submitNext();
    void submit(const QByteArray &entry);
    void finish(bool taken, const QString &reason);
    // Removes (or keeps aside) a message sendmail took; false when the entry is still there.
    bool dropTaken(const QByteArray &entry);
    // The notice is about one message when `about` names it (its departure then replaces it).
    void tell(const QString &reason, const QString &text, const QString &about = {});
    void setAside(const QByteArray &entry, const QString &why);
    bool readWhole() const;
    void killGroup();

    Outbox &outbox_;
    const SenderIdentity &sender_;
    std::map<QByteArray, Attempts> waiting_;
    std::set<std::pair<qint64, QByteArray>> queue_;  // by due moment, then in hand-over order
    QElapsedTimer clock_;
    QProcess *process_ = nullptr;
    QByteArray current_;
    int message_ = -1;  // the descriptor sendmail reads the current message from
    std::set<QString> toldReasons_;
    QByteArray errors_;  // sendmail's own error output
    bool timedOut_ = false;
    bool stopped_ = false;
    QTimer retry_;
    QTimer limit_;
    QTimer rescan_;
};
