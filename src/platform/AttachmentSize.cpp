#include "AttachmentSize.h"

#include <QFileInfo>
#include <QLocale>

namespace {
QString inWords(qint64 size)
{
    const bool giga = size >= 1'000'000'000;
    return QLocale(QLocale::French).toString(double(size) / (giga ? 1e9 : 1e6), 'f', 1)
           + (giga ? QStringLiteral(" Go") : QStringLiteral(" Mo"));
}
} // namespace

QString AttachmentSize::refusal(const QString &path, qint64 size)
{
    return QStringLiteral("La pièce jointe « %1 » fait %2 : c'est trop. Les serveurs de messagerie refusent "
                          "d'ordinaire les mails de plus de 25 Mo ; une pièce jointe peut faire au plus %3.")
        .arg(QFileInfo(path).fileName(), inWords(size), inWords(Limit));
}

std::optional<QString> AttachmentSize::check(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.isFile() || file.size() <= Limit)
        return std::nullopt;
    return refusal(path, file.size());
}
