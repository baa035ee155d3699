#pragma once

#include <QString>

#include <optional>

// How large an attached file may be. Mail servers commonly refuse messages
// above 25 MB; base64 makes 3 bytes 4 characters and its lines of 72 add a
// line end each, so a file grows 1.352 times. 18,000,000 bytes become
// 24.3 MB, leaving the text and headers room under 25,000,000.
namespace AttachmentSize {

constexpr qint64 Limit = 18'000'000;

// Why a file of `size` bytes (at least) cannot go, in words.
QString refusal(const QString &path, qint64 size);

// The refusal when path is a file larger than the limit; nullopt otherwise
// (a missing or unreadable file is told where it is read).
std::optional<QString> check(const QString &path);

} // namespace AttachmentSize
