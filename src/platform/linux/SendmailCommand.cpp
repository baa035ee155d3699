#include "SendmailCommand.h"

#include <QFileInfo>
#include <QStandardPaths>

SendmailCommand sendmailCommand()
{
    QString program = QStandardPaths::findExecutable(QStringLiteral("sendmail"));
    for (const char *fallback : {"/usr/sbin/sendmail", "/usr/lib/sendmail"}) {
        const QFileInfo candidate(QString::fromLatin1(fallback));
        if (program.isEmpty() && candidate.isFile() && candidate.isExecutable())
            program = candidate.filePath();
    }
    return {program, {QStringLiteral("-t"), QStringLiteral("-oi")}};
}
