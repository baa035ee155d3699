#include "TextFiles.h"

#include <QFile>
#include <QSaveFile>

bool TextFiles::writeFrom(const QString &path, const ByteSource &source)
{
    QByteArray content;
    const bool produced = source([&content](QByteArrayView piece) {
        content += piece;
        return true;
    });
    return produced && write(path, content);
}

std::optional<QByteArray> DiskTextFiles::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool DiskTextFiles::write(const QString &path, const QByteArray &content)
{
    return DiskTextFiles::writeFrom(path, [&](const ByteSink &sink) { return sink(content); });
}

// A temporary file beside the target, flushed to disk and renamed over it by
// commit(); never written in place, so a failure leaves the old file as it was.
bool DiskTextFiles::writeFrom(const QString &path, const ByteSource &source)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const bool produced = source([&file](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    if (!produced) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool DiskTextFiles::exists(const QString &path)
{
    return QFile::exists(path);
}

bool DiskTextFiles::remove(const QString &path)
{
    return !QFile::exists(path) || QFile::remove(path);
}

bool DiskTextFiles::rename(const QString &from, const QString &to)
{
    return QFile::rename(from, to);
}
