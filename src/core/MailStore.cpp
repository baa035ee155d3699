#include "MailStore.h"

#include "AnsiText.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "PendingRows.h"
#include "StoreRecords.h"
#include "TextFiles.h"

#include <QDir>

bool MailStore::SaveMailStore(const MailTable &table)
{
    QList<const MailItem *> mails;
    for (qint16 slot = 1; slot <= MailSlots; ++slot) {
        if (table[slot].InUse)
            mails << &table[slot];
    }
    TextFiles &files = *desktop().files;
    if (originalAtRisk_ && (!files.exists(path_) || keepOriginal(std::nullopt)))
        originalAtRisk_ = false;
    bool saved = false;
    if (!originalAtRisk_)
        saved = mails.isEmpty() ? files.remove(path_) : files.writeFrom(path_, [&mails](const ByteSink &sink) {
            return StoreRecords::writeRecords(mails, sink);
        });
    if (saved) {
        failureShown_ = false;
    } else if (!failureShown_) {
        failureShown_ = true;
        tell(QStringLiteral("Les mails en attente n'ont pas pu être enregistrés dans le fichier %1. "
                            "Ils restent en mémoire et seront enregistrés à la prochaine modification.")
                 .arg(QDir::toNativeSeparators(path_)));
    }
    return saved;
}

void MailStore::LoadMailStore(MailTable &table, ListRows &lstHisto, Bodies bodies)
{
    bodySource_.reset();
    TextFiles &files = *desktop().files;
    if (!files.exists(path_))
        return;
    // Read in pieces: the file is never whole in memory beside the mails taken from it.
    std::unique_ptr<QIODevice> device = files.openToRead(path_);
    StoreRecords::Loaded loaded;
    if (device)
        loaded = StoreRecords::readRecords(*device, MailSlots, desktopNow().date().year());
    if (!device || !loaded.whole)
        setAsideOriginal(device != nullptr);

    qint16 slot = 0;
    for (const MailItem &mail : loaded.mails) {
        table[++slot] = mail;
        InsertPendingRow(table, lstHisto, slot);
    }
    bodySource_ = std::move(device);
    waitingBodies_ = loaded.bodies;
    bodiesInUtf8_ = loaded.utf8;
    if (bodies == Bodies::Now)
        ReadBodies(table);
}

void MailStore::ReadBodies(MailTable &table)
{
    if (!bodySource_)
        return;
    const std::unique_ptr<QIODevice> device = std::move(bodySource_);
    bool complete = true;
    for (qsizetype index = 0; index < waitingBodies_.size(); ++index) {
        const std::optional<MailBody> body = StoreRecords::readBody(*device, waitingBodies_[index], bodiesInUtf8_);
        complete = complete && body;
        table[qint16(index + 1)].Contenu = body.value_or(MailBody());
    }
    waitingBodies_.clear();
    // The file changed under the program since its records were read.
    if (!complete)
        setAsideOriginal(true);
}

// A file that cannot be taken whole is kept as it is before anything rewrites
// it; read whole only for that.
void MailStore::setAsideOriginal(bool readable)
{
    TextFiles &files = *desktop().files;
    const std::optional<QByteArray> content = readable ? files.read(path_) : std::nullopt;
    const QString file = QDir::toNativeSeparators(path_);
    if (keepOriginal(content)) {
        tell(QStringLiteral("Le fichier %1 n'a pas pu être lu en entier. Son contenu d'origine est conservé "
                            "dans le fichier %2.")
                 .arg(file, QDir::toNativeSeparators(keptCopy_)));
    } else {
        originalAtRisk_ = true;
        tell(QStringLiteral("Le fichier %1 n'a pas pu être lu en entier, ni copié. "
                            "Il ne sera pas remplacé tant qu'il n'aura pas pu être mis de côté.")
                 .arg(file));
    }
}

void MailStore::removeUnfinishedSaves() const
{
    desktop().files->removeUnfinishedWrites(path_, QStringLiteral(".bak"));
}

// Keeps the store file as it is under a name not used yet: a copy of the bytes
// read when there are some (or an earlier copy holding the same bytes), else
// the file itself renamed.
bool MailStore::keepOriginal(const std::optional<QByteArray> &content)
{
    TextFiles &files = *desktop().files;
    for (int number = 1; number <= 9999; ++number) {
        const QString copy = path_ + QStringLiteral(".bak") + (number > 1 ? QString::number(number) : QString());
        if (files.exists(copy)) {
            if (!content || files.read(copy) != content)
                continue;
        } else if (!(content ? files.write(copy, *content) : files.rename(path_, copy))) {
            return false;
        }
        keptCopy_ = copy;
        return true;
    }
    return false;
}

void MailStore::tell(const QString &text) const
{
    if (Notifier *notifier = desktop().notifier)
        notifier->notifyError(MessageTexts::ErrorTitle, MessageTexts::padded(text));
}
