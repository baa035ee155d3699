#include "SenderTest.h"

#include "ComposerModule.h"
#include "MailDraft.h"
#include "SendFailure.h"
#include "SendmailCommand.h"
#include "automation/Object.h"

QString SenderTest::text(const Outcome &outcome, const SenderIdentity &sender)
{
    const QString address = QString::fromStdString(sender.address);
    const bool account = !sender.server.empty();
    if (!outcome.started && account && outcome.program.isEmpty())
        return QStringLiteral("msmtp, qui envoie par votre compte, n'est pas installé : installez le paquet msmtp "
                              "(sudo apt install msmtp).");
    if (!outcome.started)
        return outcome.program.isEmpty()
                   ? QStringLiteral("Aucun programme sendmail n'a été trouvé sur ce poste. Choisissez plutôt « Mon "
                                    "compte de messagerie », ou indiquez la commande d'envoi.")
                   : QStringLiteral("La commande « %1 » n'a pas pu être lancée.").arg(outcome.program);
    if (outcome.timedOut)
        return QStringLiteral("« %1 » n'a pas répondu à temps : il a été arrêté. Vérifiez le serveur de "
                              "messagerie et votre connexion.")
            .arg(outcome.program);
    const QString said = outcome.errorOutput.trimmed();
    if (outcome.crashed)
        return QStringLiteral("« %1 » s'est arrêté anormalement.").arg(outcome.program)
               + (said.isEmpty() ? QString() : QStringLiteral(" Message : ") + said);
    if (outcome.exitCode != 0)
        return sendFailureText(outcome.exitCode, said, outcome.program, sender);
    if (account)
        return QStringLiteral("Le serveur « %1 » a accepté le message d'essai pour %2. Vérifiez qu'il arrive dans "
                              "votre boîte.")
            .arg(QString::fromStdString(sender.server), address);
    return QStringLiteral("Le message d'essai a été remis à %1 pour %2. Vérifiez qu'il arrive dans votre boîte.")
        .arg(outcome.program, address);
}

SenderTest::SenderTest(QObject *parent) : QObject(parent)
{
    limit_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, [this] {
        timedOut_ = true;
        process_.kill();
    });
    connect(&process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        limit_.stop();
        Outcome outcome;
        outcome.program = program_;
        outcome.timedOut = timedOut_;
        outcome.crashed = status == QProcess::CrashExit;
        outcome.exitCode = exitCode;
        outcome.errorOutput = QString::fromLocal8Bit(process_.readAllStandardError());
        conclude(outcome);
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        Outcome outcome;
        outcome.started = false;
        outcome.program = program_;
        conclude(outcome);
    });
}

SenderTest::~SenderTest()
{
    process_.disconnect(this);
    if (running()) {
        process_.kill();
        process_.waitForFinished(1000);
    }
}

bool SenderTest::start(const SenderIdentity &sender)
{
    if (running())
        return false;
    sender_ = sender;
    failure_.reset();
    timedOut_ = false;
    const SendmailCommand command = sendmailCommand(sender);
    program_ = command.program;
    MailDraft draft;
    draft.to = {sender.address};
    draft.subject = "Tardello : message d'essai";
    draft.body = "Ce message d'essai a été envoyé par Tardello.\nSi vous le lisez, vos mails partiront.\n";
    QByteArray message;
    try {
        message = QByteArray::fromStdString(ComposeMessage(draft, sender));
    } catch (const ComposerUnavailable &failure) {
        emit finished(false, QStringLiteral("Le message d'essai n'a pas pu être composé : %1.")
                                 .arg(QString::fromStdString(failure.reason())));
        return true;
    } catch (const automation::Failure &) {
        emit finished(false, QStringLiteral("L'adresse « %1 » n'est pas une adresse valable.")
                                 .arg(QString::fromStdString(sender.address)));
        return true;
    }
    if (command.program.isEmpty()) {
        Outcome outcome;
        outcome.started = false;
        conclude(outcome);
        return true;
    }
    process_.setProcessEnvironment(sendmailEnvironment());
    process_.start(command.program, command.arguments);
    if (!process_.waitForStarted(5000))
        return true;  // errorOccurred has told
    process_.write(message);
    process_.closeWriteChannel();
    limit_.start(timeLimitMs);
    return true;
}

void SenderTest::conclude(Outcome outcome)
{
    const bool sent = outcome.started && !outcome.timedOut && !outcome.crashed && outcome.exitCode == 0;
    if (outcome.started && !outcome.timedOut && !outcome.crashed && outcome.exitCode != 0)
        failure_ = classifySendFailure(outcome.exitCode, outcome.errorOutput);
    emit finished(sent, text(outcome, sender_));
}
