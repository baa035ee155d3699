#include "SendmailCommand.h"

#include "Sendmail.h"

#include <QProcess>

std::vector<std::string> SendmailCommand(const SenderIdentity &sender)
{
    std::vector<std::string> argv;
    if (sender.command.find_first_not_of(" \t") != std::string::npos) {
        for (const QString &word : QProcess::splitCommand(QString::fromStdString(sender.command)))
            argv.push_back(word.toStdString());
    } else if (std::string program = FindSendmail(); !program.empty()) {
        argv.push_back(program);
    }
    if (argv.empty())
        return argv;
    argv.insert(argv.end(), {"-t", "-oi"});
    if (!sender.address.empty())
        argv.insert(argv.end(), {"-f", sender.address});
    if (!sender.name.empty())
        argv.insert(argv.end(), {"-F", sender.name});
    return argv;
}
