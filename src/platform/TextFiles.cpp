#include "TextFiles.h"

#include <QFile>
#include <QSaveFile>

std::optional<QByteArray> DiskTextFiles::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

bool DiskTextFiles::write(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
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
