#include "Outbox.h"

#include "automation/Object.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Suffix = ".eml";
const char *const Writing = ".écriture";
const char *const Submitted = ".remis";
const char *const Aside = "Mis de côté";
constexpr int IdentityLength = 16;

[[noreturn]] void fail(const QString &reason)
{
    throw automation::Failure("Send", reason.toStdString());
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A rename is durable only once the folder holding it is synced.
bool syncDirectory(const QByteArray &directory)
{
    const int fd = ::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}

bool isDirectory(const QByteArray &path)
{
    struct stat status{};
    return ::lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

// The names in a folder, as bytes, sorted; "." and ".." left out.
std::vector<QByteArray> namesIn(const QByteArray &directory)
{
    std::vector<QByteArray> names;
    DIR *folder = ::opendir(directory.constData());
    if (!folder)
        return names;
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(folder);
    std::sort(names.begin(), names.end());
    return names;
}

bool writeAll(int fd, const std::string &bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

} // namespace

QString Outbox::folder(const char *name) const
{
    return directory_ + QLatin1Char('/') + QString::fromUtf8(name);
}

QString Outbox::shown(const QByteArray &entry)
{
    return QFile::decodeName(entry);
}

bool Outbox::leftHalfWritten(const QByteArray &entry)
{
    const qsizetype dot = entry.size() - 7;
    return dot > 0 && entry[dot] == '.' && entry.left(dot).endsWith(Suffix) &&
           std::all_of(entry.begin() + dot + 1, entry.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

void Outbox::put(const std::string &message)
{
    const QString staging = folder(Writing);
    const QByteArray outbox = QFile::encodeName(directory_);
    // The messages are the user's mail: the folder and each file are theirs only, whatever the umask.
    if (!QDir().mkpath(staging) || ::chmod(outbox.constData(), S_IRWXU) != 0)
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être créée").arg(directory_));
    // Names sort in the order the messages were handed over; the identity lets
    // start-up know that the pending mail has reached the outbox.
    QByteArray name;
    struct stat status{};
    do {
        name = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmsszzz")).toLatin1() +
               QStringLiteral("-%1").arg(++written_, 4, 10, QLatin1Char('0')).toLatin1() +
               (identity_.isEmpty() ? QByteArray() : '-' + identity_.toLatin1()) + Suffix;
    } while (::lstat((outbox + '/' + name).constData(), &status) == 0);

    // Written whole aside, then moved in: the outbox never holds half a message.
    const QByteArray written = QFile::encodeName(staging) + '/' + name;
    const int fd = ::open(written.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && writeAll(fd, message) && ::fsync(fd) == 0;
    int error = errno;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(written.constData(), (outbox + '/' + name).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(written.constData());
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être écrite : %2").arg(directory_, systemError(error)));
    }
    if (!syncDirectory(outbox)) {
        error = errno;
        ::unlink((outbox + '/' + name).constData());
        fail(QStringLiteral("la boîte d'envoi %1 n'a pas pu être écrite : %2").arg(directory_, systemError(error)));
    }
    if (deposited)
        deposited(name);
}

std::vector<QByteArray> Outbox::entries() const
{
    const QByteArray outbox = QFile::encodeName(directory_);
    std::vector<QByteArray> names = namesIn(outbox);
    std::erase_if(names, [&](const QByteArray &name) {
        return (name == Writing || name == Submitted || name == Aside) && isDirectory(outbox + '/' + name);
    });
    return names;
}

QStringList Outbox::messages() const
{
    QStringList names;
    for (const QByteArray &entry : entries())
        names << shown(entry);
    return names;
}

int Outbox::openMessage(const QByteArray &entry, QString &reason, bool &notMessage) const
{
    const QByteArray path = QFile::encodeName(directory_) + '/' + entry;
    notMessage = false;
    // Without blocking: a pipe would wait for a writer forever.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        struct stat status{};
        const bool present = ::lstat(path.constData(), &status) == 0;
        notMessage = present && (S_ISLNK(status.st_mode) || error == ENXIO);
        reason = !present             ? QString()
                 : S_ISLNK(status.st_mode) ? QStringLiteral("c'est un lien vers un fichier absent")
                 : notMessage          ? QStringLiteral("ce n'est pas un fichier ordinaire")
                                       : QStringLiteral("il n'a pas pu être lu (%1)").arg(systemError(error));
        return -1;
    }
    struct stat status{};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        notMessage = true;
        reason = S_ISDIR(status.st_mode) ? QStringLiteral("c'est un dossier") : QStringLiteral("ce n'est pas un fichier ordinaire");
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool Outbox::remove(const QByteArray &entry)
{
    const QByteArray outbox = QFile::encodeName(directory_);
    const bool gone = ::unlink((outbox + '/' + entry).constData()) == 0 || errno == ENOENT;
    syncDirectory(outbox);
    return gone;
}

bool Outbox::remove(const QString &message)
{
    return remove(QFile::encodeName(message));
}

QString Outbox::setAside(const QByteArray &entry)
{
    const QString aside = folder(Aside);
    if (!QDir().mkpath(aside))
        return {};
    const QByteArray from = QFile::encodeName(directory_) + '/' + entry;
    const QByteArray to = QFile::encodeName(aside) + '/' + entry;
    // Never over an entry set aside earlier under the same name.
    for (int number = 0; number < 1000; ++number) {
        const QByteArray target = number == 0 ? to : to + '.' + QByteArray::number(number);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) {
            syncDirectory(QFile::encodeName(directory_));
            return aside;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool Outbox::keepSubmitted(const QByteArray &entry)
{
    const QString kept = folder(Submitted);
    if (!QDir().mkpath(kept))
        return false;
    const QByteArray outbox = QFile::encodeName(directory_);
    if (::rename((outbox + '/' + entry).constData(), (QFile::encodeName(kept) + '/' + entry).constData()) != 0)
        return false;
    syncDirectory(outbox);
    return true;
}

void Outbox::forgetSubmitted()
{
    const QByteArray kept = QFile::encodeName(folder(Submitted));
    const std::vector<QByteArray> names = namesIn(kept);
    for (const QByteArray &name : names)
        ::unlink((kept + '/' + name).constData());
    if (!names.empty())
        syncDirectory(kept);
}

QSet<QString> Outbox::handedOver() const
{
    QSet<QString> identities;
    const auto collect = [&](const std::vector<QByteArray> &names) {
        for (const QByteArray &name : names) {
            const qsizetype dash = name.size() - Suffix.size() - IdentityLength - 1;
            if (name.endsWith(Suffix) && dash >= 0 && name[dash] == '-')
                identities.insert(QString::fromLatin1(name.mid(dash + 1, IdentityLength)));
        }
    };
    collect(entries());
    collect(namesIn(QFile::encodeName(folder(Submitted))));
    return identities;
}

void Outbox::removeUnfinishedPuts()
{
    const QByteArray staging = QFile::encodeName(folder(Writing));
    for (const QByteArray &name : namesIn(staging))
        ::unlink((staging + '/' + name).constData());
}
