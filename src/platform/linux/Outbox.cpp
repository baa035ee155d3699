#include "Outbox.h"

#include "MailDraft.h"
#include "automation/Object.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Suffix = QStringLiteral(".eml");

[[noreturn]] void fail(const QString &reason)
{
    throw automation::Failure("Send", reason.toStdString());
}

// A rename is durable only once the folder holding it is synced.
bool syncDirectory(const QString &directory)
{
    const int fd = ::open(QFile::encodeName(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

} // namespace

void Outbox::put(const std::string &message)
{
    // The messages are the user's mail: the folder and each file are theirs only, whatever the umask.
    if (!QDir().mkpath(directory_) || ::chmod(QFile::encodeName(directory_).constData(), S_IRWXU) != 0)
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être créée").arg(directory_));
    // Names sort in the order the messages were handed over.
    QString name;
    do {
        name = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")) +
               QStringLiteral("-%1").arg(++written_, 4, 10, QLatin1Char('0')) + Suffix;
    } while (QFile::exists(path(name)));

    QSaveFile file(path(name));
    file.setDirectWriteFallback(false);
    const auto qint = qint64(message.size());
    const bool written = file.open(QIODevice::WriteOnly) && ::fchmod(file.handle(), S_IRUSR | S_IWUSR) == 0 &&
                         file.write(message.data(), qint) == qint && file.flush() && ::fsync(file.handle()) == 0;
    if (!written) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être écrite : %2").arg(directory_, reason));
    }
    if (!file.commit() || !syncDirectory(directory_)) {
        QFile::remove(path(name));
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être écrite : %2").arg(directory_, file.errorString()));
    }
    if (deposited)
        deposited();
}

QStringList Outbox::messages() const
{
    return QDir(directory_).entryList({QLatin1Char('*') + Suffix}, QDir::Files, QDir::Name);
}

bool Outbox::remove(const QString &message)
{
    const bool gone = QFile::remove(path(message)) || !QFile::exists(path(message));
    syncDirectory(directory_);
    return gone;
}

void DeliverDraft(Outbox &outbox, const MailDraft &draft)
{
    RemindMissingSenderOnce();
    outbox.put(ComposeMessage(draft));
}
