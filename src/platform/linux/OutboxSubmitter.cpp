#include "OutboxSubmitter.h"

#include "Desktop.h"
#include "MailDraft.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Outbox.h"
#include "SendFailure.h"
#include "SendmailCommand.h"

#include <QFile>

#include <csignal>
#include <unistd.h>

namespace {

constexpr qsizetype KeptErrorBytes = 2000;
const QString MissingSendmail = QStringLiteral("aucun programme sendmail n'est installé");

QString delayText(std::chrono::milliseconds delay)
{
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(delay).count();
    if (minutes >= 60 && minutes % 60 == 0)
        return minutes == 60 ? QStringLiteral("une heure") : QStringLiteral("%1 heures").arg(minutes / 60);
    if (minutes >= 1)
        return minutes == 1 ? QStringLiteral("une minute") : QStringLiteral("%1 minutes").arg(minutes);
    return QStringLiteral("quelques secondes");
}

QString describe(const MessageSummary &mail)
{
    return QStringLiteral("Le mail \"%1\" pour %2")
        .arg(QString::fromStdString(mail.subject), QString::fromStdString(mail.recipients));
}

} // namespace

OutboxSubmitter::OutboxSubmitter(Outbox &outbox, QObject *parent) : QObject(parent), outbox_(outbox)
{
    retry_.setSingleShot(true);
    limit_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &OutboxSubmitter::submitNext);
    connect(&limit_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        killGroup();
    });
}

OutboxSubmitter::~OutboxSubmitter()
{
    // A sendmail about to finish is given a moment, so that a message it took
    // is not sent again; else it is stopped and the message goes at the next start.
    if (process_) {
        process_->disconnect(this);
        if (!process_->waitForFinished(2000)) {
            killGroup();
            process_->waitForFinished(1000);
        } else if (process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0) {
            outbox_.remove(current_);
        }
    }
}

void OutboxSubmitter::start()
{
    missingSendmailTold_ = sendmailCommand().program.isEmpty() && desktop().notifier;
    if (missingSendmailTold_)
        desktop().notifier->notifyError(
            MessageTexts::ErrorTitle,
            MessageTexts::padded(missingProgramText(CurrentSender(), outbox_.directory())));
    wake();
}

void OutboxSubmitter::wake()
{
    // Never inside the caller's own work: the pass that handed a mail over ends first.
    QTimer::singleShot(0, this, &OutboxSubmitter::submitNext);
}

void OutboxSubmitter::submitNext()
{
    if (process_)
        return;  // one at a time; the end of this one looks again
    const QStringList waiting = outbox_.messages();
    std::erase_if(attempts_, [&](const auto &entry) { return !waiting.contains(entry.first); });
    std::optional<QDeadlineTimer> soonest;
    for (const QString &message : waiting) {
        const Attempts &state = attempts_[message];
        if (state.next.hasExpired()) {
            submit(message);
            return;
        }
        if (!soonest || state.next < *soonest)
            soonest = state.next;
    }
    if (soonest && !soonest->isForever())
        retry_.start(std::chrono::milliseconds(soonest->remainingTime()));
}

void OutboxSubmitter::submit(const QString &message)
{
    const SendmailCommand command = sendmailCommand();
    current_ = message;
    if (command.program.isEmpty()) {
        finish(false, MissingSendmail);
        return;
    }
    errors_.clear();
    timedOut_ = false;
    process_ = new QProcess(this);
    process_->setProgram(command.program);
    process_->setArguments(command.arguments);
    process_->setProcessEnvironment(sendmailEnvironment());
    process_->setStandardInputFile(outbox_.path(message));
    process_->setStandardOutputFile(QProcess::nullDevice());
    // Its own process group, so that a hung sendmail is killed with everything it started.
    process_->setChildProcessModifier([] { ::setsid(); });
    connect(process_, &QProcess::readyReadStandardError, this, [this] {
        errors_ = (errors_ + process_->readAllStandardError()).right(KeptErrorBytes);
    });
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        errors_ = (errors_ + process_->readAllStandardError()).right(KeptErrorBytes);
        const QString said = QString::fromLocal8Bit(errors_).trimmed();
        if (timedOut_)
            finish(false, QStringLiteral("sendmail ne répondait plus après %1 et a été arrêté").arg(delayText(timeLimit)));
        else if (status != QProcess::NormalExit)
            finish(false, said.isEmpty() ? QStringLiteral("sendmail s'est arrêté anormalement") : said);
        else if (code != 0)
            finish(false, sendFailureText(code, said, process_->program(), CurrentSender()));
        else
            finish(true, {});
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finish(false, QStringLiteral("sendmail n'a pas pu être lancé (%1)").arg(process_->errorString()));
    });
    limit_.start(timeLimit);
    process_->start();
}

void OutboxSubmitter::finish(bool delivered, const QString &reason)
{
    limit_.stop();
    if (process_) {
        process_->disconnect(this);
        process_->deleteLater();
        process_ = nullptr;
    }
    const QString message = std::exchange(current_, {});
    Attempts &state = attempts_[message];
    const QByteArray content = [&] {
        QFile file(outbox_.path(message));
        return file.open(QIODevice::ReadOnly) ? file.read(64 * 1024) : QByteArray();
    }();
    const QString mail = describe(SummarizeMessage(content.toStdString()));
    Notifier *notifier = desktop().notifier;
    if (delivered) {
        if (!outbox_.remove(message)) {
            // Taken by sendmail but still here: never hand it over twice in this run.
            state.next = QDeadlineTimer::Forever;
        } else {
            // Whoever follows the outbox tells the departure of a mail that waited.
            attempts_.erase(message);
            emit left(message, QDateTime::currentDateTime());
        }
    } else {
        const auto delay = retryDelays.at(std::min<std::size_t>(state.failures, retryDelays.size() - 1));
        ++state.failures;
        state.next = QDeadlineTimer(delay);
        // Start-up has already said that sendmail is missing, and how to fix it.
        if (reason == MissingSendmail && missingSendmailTold_)
            state.toldReason = reason;
        if (reason != state.toldReason && notifier) {
            state.toldReason = reason;
            notifier->notifyErrorAbout(
                message, MessageTexts::ErrorTitle,
                MessageTexts::padded(mail + QStringLiteral(" n'a pas pu être remis à sendmail : %1. Il reste dans la "
                                                           "boîte d'envoi et sera renvoyé dans %2, puis de plus en "
                                                           "plus espacé, jusqu'à son départ.")
                                                .arg(reason, delayText(delay))));
        }
        emit refused(message, reason, QDateTime::currentDateTime().addMSecs(delay.count()));
    }
    emit attempted(message, delivered);
    wake();
}

void OutboxSubmitter::killGroup()
{
    if (process_ && process_->processId() > 0)
        ::kill(-pid_t(process_->processId()), SIGKILL);
}
