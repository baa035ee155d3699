#include "ServerCertificate.h"

#include "AccountCommand.h"
#include "SendmailCommand.h"

#include <QStandardPaths>

ServerCertificate::ServerCertificate(QObject *parent) : QObject(parent)
{
    connect(&process_, &QProcess::finished, this, [this] {
        QString subject, fingerprint;
        parse(QString::fromUtf8(process_.readAllStandardOutput()), subject, fingerprint);
        emit read(subject, fingerprint);
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit read({}, {});
    });
}

ServerCertificate::~ServerCertificate()
{
    process_.disconnect(this);
    if (running()) {
        process_.kill();
        process_.waitForFinished(1000);
    }
}

void ServerCertificate::start(const SenderIdentity &account)
{
    if (running())
        return;
    process_.setProcessEnvironment(sendmailEnvironment());
    process_.setStandardInputFile(QProcess::nullDevice());
    process_.start(QStandardPaths::findExecutable(QStringLiteral("msmtp")), msmtpServerInfoOptions(account));
}

bool ServerCertificate::parse(const QString &serverInfo, QString &subject, QString &fingerprint)
{
    const QStringList lines = serverInfo.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line == QStringLiteral("Subject:") && subject.isEmpty() && n + 1 < lines.size())
            subject = lines[n + 1].trimmed();
        else if (line.startsWith(QStringLiteral("SHA256:")))
            fingerprint = line.mid(7).trimmed().toUpper();
    }
    return !fingerprint.isEmpty();
}
