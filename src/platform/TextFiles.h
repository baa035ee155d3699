#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QIODevice>
#include <functional>
#include <memory>
#include <optional>

// Takes the bytes of a file being written, piece by piece; false stops the writing.
using ByteSink = std::function<bool(QByteArrayView)>;
// Hands a file's content to a sink; false when it could not.
using ByteSource = std::function<bool(const ByteSink &)>;

// File access for the store and the settings file.
class TextFiles
{
public:
    virtual ~TextFiles() = default;
    // nullopt when the file does not exist or cannot be read.
    virtual std::optional<QByteArray> read(const QString &path) = 0;
    // The file opened for reading in pieces; null when it does not exist or cannot be read.
    // By default a copy of read()'s bytes.
    virtual std::unique_ptr<QIODevice> openToRead(const QString &path);
    // All or nothing: either the complete new content is in place or the old file is untouched.
    // On Unix the files written and renamed are readable by their owner only.
    virtual bool write(const QString &path, const QByteArray &content) = 0;
    // As write, the content coming from source in pieces, so that it need not be whole in memory.
    // By default the pieces are gathered and handed to write().
    virtual bool writeFrom(const QString &path, const ByteSource &source);
    virtual bool exists(const QString &path) = 0;
    // True when the file is gone afterwards (also when it never existed).
    virtual bool remove(const QString &path) = 0;
    // Renames an existing file; false when the target exists or the rename fails.
    virtual bool rename(const QString &from, const QString &to) = 0;
    // Removes the temporary files that writes cut short (a killed run) left
    // beside path, for path itself and, when `copySuffix` is not empty, for the
    // files named path, copySuffix and digits (".bak": "x.bak", "x.bak2"...).
    // No other file goes, whatever its name.
    virtual void removeUnfinishedWrites(const QString &path, const QString &copySuffix) = 0;
};

class DiskTextFiles : public TextFiles
{
public:
    std::optional<QByteArray> read(const QString &path) override;
    std::unique_ptr<QIODevice> openToRead(const QString &path) override;
    bool write(const QString &path, const QByteArray &content) override;
    bool writeFrom(const QString &path, const ByteSource &source) override;
    bool exists(const QString &path) override;
    bool remove(const QString &path) override;
    bool rename(const QString &from, const QString &to) override;
    void removeUnfinishedWrites(const QString &path, const QString &copySuffix) override;
};
