#include "OutboxSubmitter.h"

#include "Desktop.h"
#include "MailDraft.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Outbox.h"
#include "SendFailure.h"
#include "SendmailCommand.h"

#include <QFile>
#include <QScopeGuard>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
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

// What an attempt that failed for this reason tells.
QString failureText(const QString &mail, const QString &reason, std::chrono::milliseconds delay)
{
    return mail + QStringLiteral(" n'a pas pu être remis à sendmail : %1. Il reste dans la boîte d'envoi et sera "
                                 "renvoyé dans %2, puis de plus en plus espacé, jusqu'à son départ. Les autres mails "
                                 "retenus pour la même raison ne seront pas signalés un par un.")
                      .arg(reason, delayText(delay));
}

} // namespace

OutboxSubmitter::OutboxSubmitter(Outbox &outbox, const SenderIdentity &sender, QObject *parent)
    : QObject(parent), outbox_(outbox), sender_(sender)
{
    clock_.start();
    retry_.setSingleShot(true);
    limit_.setSingleShot(true);
    connect(&retry_, &QTimer::timeout, this, &OutboxSubmitter::submitNext);
    connect(&limit_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        killGroup();
    });
    // Files put in the outbox by hand are found within the hour.
    rescan_.setInterval(std::chrono::hours(1));
    connect(&rescan_, &QTimer::timeout, this, [this] {
        rescan();
        wake();
    });
}

OutboxSubmitter::~OutboxSubmitter()
{
    stop();
}

void OutboxSubmitter::stop()
{
    stopped_ = true;  // nothing more is handed over, whatever is still queued
    rescan_.stop();
    retry_.stop();
    if (!process_)
        return;
    // A sendmail about to finish is given a moment, so that a message it took
    // is not sent again; else it is stopped and the message goes at the next start.
    process_->disconnect(this);
    limit_.stop();
    if (!process_->waitForFinished(2000)) {
        killGroup();
        process_->waitForFinished(1000);
    } else if (process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0 && readWhole()) {
        dropTaken(current_);
    }
    ::close(std::exchange(message_, -1));
    delete std::exchange(process_, nullptr);
}

void OutboxSubmitter::start()
{
    const bool missing = sendmailCommand(sender_).program.isEmpty() && desktop().notifier;
    if (missing) {
        // Start-up says that sendmail is missing, and how to fix it; the attempts need not.
        toldReasons_.insert(MissingSendmail);
        desktop().notifier->notifyError(
            MessageTexts::ErrorTitle,
            MessageTexts::padded(missingProgramText(sender_, outbox_.directory())));
    }
    outbox_.removeUnfinishedPuts();
    rescan();
    rescan_.start();
    wake();
}

void OutboxSubmitter::wake()
{
    // Never inside the caller's own work: the pass that handed a mail over ends first.
    QTimer::singleShot(0, this, &OutboxSubmitter::submitNext);
}

void OutboxSubmitter::add(const QByteArray &entry)
{
    if (!waiting_.contains(entry))
        schedule(entry, 0);
    wake();
}

// The folder is listed at start and hourly only, never per attempt.
void OutboxSubmitter::rescan()
{
    const std::vector<QByteArray> entries = outbox_.entries();
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->first != current_ && !std::binary_search(entries.begin(), entries.end(), it->first)) {
            queue_.erase({it->second.due, it->first});
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    for (const QByteArray &entry : entries)
        if (!waiting_.contains(entry))
            schedule(entry, 0);
}

void OutboxSubmitter::schedule(const QByteArray &entry, qint64 due)
{
    Attempts &state = waiting_[entry];
    queue_.erase({state.due, entry});
    state.due = due;
    if (due >= 0)
        queue_.insert({due, entry});
}

void OutboxSubmitter::submitNext()
{
    if (process_ || queue_.empty() || stopped_)
        return;  // one at a time; the end of this one looks again
    const auto [due, entry] = *queue_.begin();
    const qint64 now = clock_.elapsed();
    if (due > now) {
        retry_.start(std::chrono::milliseconds(due - now));
        return;
    }
    submit(entry);
}

void OutboxSubmitter::submit(const QByteArray &entry)
{
    current_ = entry;
    if (Outbox::leftHalfWritten(entry)) {
        setAside(entry, QStringLiteral("c'est un message à moitié écrit, laissé par un arrêt brutal"));
        return;
    }
    QString reason;
    bool notMessage = false;
    message_ = outbox_.openMessage(entry, reason, notMessage);
    if (message_ < 0) {
        if (notMessage) {
            setAside(entry, reason);
        } else if (reason.isEmpty()) {  // gone meanwhile
            queue_.erase({waiting_[entry].due, entry});
            waiting_.erase(entry);
            current_.clear();
            wake();
        } else {
            finish(false, reason);
        }
        return;
    }
    const SendmailCommand command = sendmailCommand(sender_);
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
    // sendmail reads the message from our own descriptor, whose offset then
    // tells how much of it was read.
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setStandardOutputFile(QProcess::nullDevice());
    const int input = message_;
    const pid_t parent = ::getpid();
    process_->setChildProcessModifier([input, parent] {
        // Its own process group, so that a hung sendmail is killed with
        // everything it started; and killed with the program, whatever ends it.
        ::setsid();
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127);
        ::dup2(input, STDIN_FILENO);
    });
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
            finish(false, sendFailureText(code, said, process_->program(), sender_));
        else if (!readWhole())
            finish(false, QStringLiteral("sendmail a répondu qu'il l'avait pris, mais sans en lire la fin ; il n'est "
                                         "donc pas compté comme parti"));
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

// sendmail reached the end of the message: the shared offset stands at its size.
bool OutboxSubmitter::readWhole() const
{
    struct stat status{};
    return message_ >= 0 && ::fstat(message_, &status) == 0 && ::lseek(message_, 0, SEEK_CUR) >= status.st_size;
}

void OutboxSubmitter::finish(bool taken, const QString &reason)
{
    limit_.stop();
    if (process_) {
        process_->disconnect(this);
        process_->deleteLater();
        process_ = nullptr;
    }
    const QByteArray entry = std::exchange(current_, {});
    const int input = std::exchange(message_, -1);
    const auto closeInput = qScopeGuard([input] { ::close(input); });
    // The start of the message names the mail in the notices (read from the
    // descriptor, which still holds it once the entry is removed).
    const auto mail = [&] {
        QByteArray head(64 * 1024, Qt::Uninitialized);
        head.truncate(std::max<ssize_t>(input >= 0 ? ::pread(input, head.data(), head.size(), 0) : 0, 0));
        return head.isEmpty() ? QStringLiteral("Le message « %1 » de la boîte d'envoi").arg(Outbox::shown(entry))
                              : describe(SummarizeMessage(head.toStdString()));
    };
    Notifier *notifier = desktop().notifier;
    const int failures = waiting_[entry].failures;
    if (taken) {
        // Removed first: a kill now must not find it still waiting. Whoever
        // follows the outbox tells the departure of a mail that waited.
        if (dropTaken(entry))
            emit left(Outbox::shown(entry), QDateTime::currentDateTime());
        if (failures > 0)
            toldReasons_.clear();
    } else {
        const auto delay = retryDelays.at(std::min<std::size_t>(failures, retryDelays.size() - 1));
        ++waiting_[entry].failures;
        schedule(entry, clock_.elapsed() + delay.count());
        if (!toldReasons_.contains(reason))
            tell(reason, failureText(mail(), reason, delay), Outbox::shown(entry));
        emit refused(Outbox::shown(entry), reason, QDateTime::currentDateTime().addMSecs(delay.count()));
    }
    emit attempted(Outbox::shown(entry), taken);
    wake();
}

bool OutboxSubmitter::dropTaken(const QByteArray &entry)
{
    const bool gone = storeBehind && storeBehind() ? outbox_.keepSubmitted(entry) : outbox_.remove(entry);
    if (gone) {
        queue_.erase({waiting_[entry].due, entry});
        waiting_.erase(entry);
    } else {
        schedule(entry, -1);  // taken by sendmail but still here: never handed over twice in this run
    }
    return gone;
}

void OutboxSubmitter::tell(const QString &reason, const QString &text, const QString &about)
{
    if (!toldReasons_.insert(reason).second)
        return;
    if (Notifier *notifier = desktop().notifier) {
        if (about.isEmpty())
            notifier->notifyError(MessageTexts::ErrorTitle, MessageTexts::padded(text));
        else
            notifier->notifyErrorAbout(about, MessageTexts::ErrorTitle, MessageTexts::padded(text));
    }
}

void OutboxSubmitter::setAside(const QByteArray &entry, const QString &why)
{
    current_.clear();
    queue_.erase({waiting_[entry].due, entry});
    const QString folder = outbox_.setAside(entry);
    if (folder.isEmpty()) {
        schedule(entry, -1);  // left where it is, never opened again in this run
        tell(QStringLiteral("set aside"),
             QStringLiteral("L'entrée « %1 » de la boîte d'envoi n'est pas un message (%2) et n'a pas pu être mise de "
                            "côté ; elle est laissée de côté jusqu'au prochain démarrage.")
                 .arg(Outbox::shown(entry), why));
    } else {
        waiting_.erase(entry);
        tell(QStringLiteral("set aside"),
             QStringLiteral("L'entrée « %1 » de la boîte d'envoi n'est pas un message (%2) : elle a été mise de côté "
                            "dans le dossier %3. Les autres entrées de ce genre y iront sans nouvel avis.")
                 .arg(Outbox::shown(entry), why, folder));
    }
    emit attempted(Outbox::shown(entry), false);
    wake();
}

void OutboxSubmitter::killGroup()
{
    if (process_ && process_->processId() > 0)
        ::kill(-pid_t(process_->processId()), SIGKILL);
}
