#include "TextFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
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
bool syncedToDisk(QSaveFile &file)
{
#ifdef Q_OS_UNIX
    return ::fdatasync(file.handle()) == 0;
#else
    Q_UNUSED(file);  // commit() flushes the file's buffers itself
    return true;
#endif
}
} // namespace

// A temporary file beside the target, renamed over it by commit(); never
// written in place, so a failure leaves the old file as it was. QSaveFile
// buffers small writes and its commit() does not look at the error of the
// final flush (a full disk then replaces the file with an empty one), so the
// data is flushed, synced and checked here first.
bool DiskTextFiles::writeFrom(const QString &path, const ByteSource &source)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool produced = source([&file](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    if (!produced || !file.flush() || file.error() != QFileDevice::NoError || !syncedToDisk(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit() && syncDirectoryOf(path);
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
    return QFile::rename(from, to) && syncDirectoryOf(to);
}

// QSaveFile names its temporary file after the target with a dot and six
// random letters; a run killed between linking and renaming it leaves it there.
void DiskTextFiles::removeUnfinishedWrites(const QString &path, const QString &suffixes)
{
    const QFileInfo target(path);
    // Compiled only when a name ends like a temporary file's: most starts have
    // none, and then the regular-expression engine is never loaded (nor by a
    // name filter, which is one too).
    std::optional<QRegularExpression> unfinished;
    QDir directory = target.absoluteDir();
    for (const QString &name : directory.entryList(QDir::Files | QDir::Hidden)) {
        const QStringView tail = QStringView(name).right(7);
        if (!name.startsWith(target.fileName() + QLatin1Char('.')) || tail.size() < 7 || tail.front() != u'.'
            || !std::all_of(tail.begin() + 1, tail.end(), [](QChar c) { return c.unicode() < 128 && c.isLetter(); }))
            continue;
        if (!unfinished)
            unfinished.emplace(QRegularExpression::anchoredPattern(QRegularExpression::escape(target.fileName())
                                                                   + QStringLiteral("(?:%1)?\\.[A-Za-z]{6}").arg(suffixes)));
        if (unfinished->match(name).hasMatch())
            directory.remove(name);
    }
}
