#include "TextFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

bool TextFiles::writeFrom(const QString &path, const ByteSource &source)
{
    QByteArray content;
    const bool produced = source([&content](QByteArrayView piece) {
        content += piece;
        return true;
    });
    return produced && write(path, content);
}

std::unique_ptr<QIODevice> TextFiles::openToRead(const QString &path)
{
    std::optional<QByteArray> content = read(path);
    if (!content)
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(*content);
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

std::unique_ptr<QIODevice> DiskTextFiles::openToRead(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return nullptr;
    return file;
}

std::optional<QByteArray> DiskTextFiles::read(const QString &path)
{
    // A missing file is the common case at start; a failed open would put
    // its error in words, loading the toolkit's translations for nothing.
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool DiskTextFiles::write(const QString &path, const QByteArray &content)
{
    return DiskTextFiles::writeFrom(path, [&](const ByteSink &sink) { return sink(content); });
}

namespace {
// Makes a rename or removal in path's directory survive a power cut, so that
// an older store (with mails already sent) cannot come back. False when the
// disk refused; a directory that cannot be opened is left as it is.
bool syncDirectoryOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const int directory = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (directory < 0)
        return true;
    const bool synced = ::fsync(directory) == 0;
    ::close(directory);
    return synced;
#else
    Q_UNUSED(path);  // NTFS journals the rename itself
    return true;
#endif
}

// The data on the disk, or the reason it is not (a full disk may only tell here).
bool syncedToDisk(QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fdatasync(file.handle()) == 0;
#else
    return ::_commit(file.handle()) == 0;
#endif
}

// The files hold mails and addresses: on Unix they are their owner's only,
// whatever the umask. Windows keeps the folder's inherited rights.
bool makePrivate(QFile &file)
{
#ifdef Q_OS_UNIX
    return ::fchmod(file.handle(), S_IRUSR | S_IWUSR) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// A save's temporary file is the target's name, this mark and six random
// letters or digits: nothing a user names a copy by hand ("Tardello.tmp.backup")
// looks like it, so start-up can remove what a killed save left.
const QString UnfinishedMark = QStringLiteral(".~tardello-");
constexpr qsizetype RandomLength = 6;

bool isRandomPart(QStringView text)
{
    return text.size() == RandomLength && std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
           });
}

// A new temporary file beside path, opened for writing.
bool createUnfinished(const QString &path, QFile &file)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 16; ++attempt) {
        QString name = path + UnfinishedMark;
        for (qsizetype i = 0; i < RandomLength; ++i)
            name += QLatin1Char(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters - 1))]);
        file.setFileName(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!QFileInfo::exists(name))
            return false;  // not a name taken: the folder refuses
    }
    return false;
}

// Puts from in place of to in one step, to's old content untouched on failure.
bool replace(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return ::MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                         reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}
} // namespace

// A temporary file beside the target, renamed over it; never written in
// place, so a failure leaves the old file as it was. The data is flushed,
// synced and checked before the rename (a full disk may only tell there).
bool DiskTextFiles::writeFrom(const QString &path, const ByteSource &source)
{
    QFile file;
    if (!createUnfinished(path, file))
        return false;
    const bool produced = makePrivate(file) && source([&file](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    const bool written = produced && file.flush() && file.error() == QFileDevice::NoError && syncedToDisk(file);
    file.close();
    if (!written || file.error() != QFileDevice::NoError || !replace(file.fileName(), path)) {
        file.remove();
        return false;
    }
    return syncDirectoryOf(path);
}

bool DiskTextFiles::exists(const QString &path)
{
    return QFile::exists(path);
}

bool DiskTextFiles::remove(const QString &path)
{
    return !QFile::exists(path) || (QFile::remove(path) && syncDirectoryOf(path));
}

bool DiskTextFiles::rename(const QString &from, const QString &to)
{
    if (!QFile::rename(from, to))
        return false;
#ifdef Q_OS_UNIX
    // A file an earlier version wrote may still be readable by others.
    ::chmod(QFile::encodeName(to).constData(), S_IRUSR | S_IWUSR);
#endif
    return syncDirectoryOf(to);
}

// Only the names writeFrom() gives: path, or path, copySuffix and digits,
// then the mark and six letters or digits.
void DiskTextFiles::removeUnfinishedWrites(const QString &path, const QString &copySuffix)
{
    const QFileInfo target(path);
    QDir directory = target.absoluteDir();
    for (const QString &name : directory.entryList(QDir::Files | QDir::Hidden)) {
        const qsizetype mark = name.size() - RandomLength - UnfinishedMark.size();
        if (mark < target.fileName().size() || !name.startsWith(target.fileName())
            || QStringView(name).sliced(mark, UnfinishedMark.size()) != UnfinishedMark
            || !isRandomPart(QStringView(name).sliced(mark + UnfinishedMark.size())))
            continue;
        const QStringView between = QStringView(name).sliced(target.fileName().size(), mark - target.fileName().size());
        if (between.isEmpty() || (!copySuffix.isEmpty() && between.startsWith(copySuffix)
                                  && std::all_of(between.begin() + copySuffix.size(), between.end(),
                                                 [](QChar c) { return c >= u'0' && c <= u'9'; })))
            directory.remove(name);
    }
}
