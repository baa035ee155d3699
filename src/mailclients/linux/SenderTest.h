#pragma once

#include "SendFailure.h"
#include "SenderIdentity.h"

#include <QObject>
#include <QProcess>
#include <QTimer>

#include <optional>

// The "Tester" of the sender settings: submits a short message to the
// sender's own address without waiting for it, and tells the outcome in words.
class SenderTest : public QObject
{
    Q_OBJECT
public:
    struct Outcome
    {
        bool started = true;
        bool timedOut = false;
        bool crashed = false;
        int exitCode = 0;
        QString program;
        QString errorOutput;  // what sendmail wrote on its standard error
    };
    // The sentence the window shows for an outcome.
    static QString text(const Outcome &outcome, const SenderIdentity &sender);

    explicit SenderTest(QObject *parent = nullptr);
    ~SenderTest() override;

    // False (and finished() is not emitted) when a test is still running.
    bool start(const SenderIdentity &sender);
    bool running() const { return process_.state() != QProcess::NotRunning; }
    // What the last refusal was, once finished() has told it; none after a success.
    std::optional<SendFailure> lastFailure() const { return failure_; }
    int timeLimitMs = 60000;

signals:
    void finished(bool sent, const QString &text);

private:
    void conclude(Outcome outcome);

    QProcess process_;
    QTimer limit_;
    SenderIdentity sender_;
    std::optional<SendFailure> failure_;
    QString program_;
    bool timedOut_ = false;
};
