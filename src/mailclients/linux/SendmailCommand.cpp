#include "SendmailCommand.h"

#include "AccountCommand.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

SendmailCommand sendmailCommand(const SenderIdentity &sender)
{
    SendmailCommand command;
    if (!sender.server.empty()) {
        command.program = QStandardPaths::findExecutable(QStringLiteral("msmtp"));
        command.arguments = msmtpAccountOptions(sender) << QStringLiteral("-t") << QStringLiteral("-oi");
        if (!sender.name.empty())
            command.arguments << QStringLiteral("-F") << QString::fromStdString(sender.name);
        return command;
    }
    QStringList own = QProcess::splitCommand(QString::fromStdString(sender.command));
    if (!own.isEmpty()) {
        command.program = own.takeFirst();
        command.arguments = own;
    } else {
        command.program = QStandardPaths::findExecutable(QStringLiteral("sendmail"));
        for (const char *fallback : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
            const QFileInfo candidate(QString::fromLatin1(fallback));
            if (command.program.isEmpty() && candidate.isFile() && candidate.isExecutable())
                command.program = candidate.filePath();
        }
    }
    command.arguments << QStringLiteral("-t") << QStringLiteral("-oi");
    if (!sender.address.empty())
        command.arguments << QStringLiteral("-f") << QString::fromStdString(sender.address);
    if (!sender.name.empty())
        command.arguments << QStringLiteral("-F") << QString::fromStdString(sender.name);
    return command;
}

QProcessEnvironment sendmailEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    return environment;
}
