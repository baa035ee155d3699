#include "MailIdentity.h"

#include "StoreRecords.h"

#include <QCryptographicHash>

QString MailIdentity(const MailItem &mail)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    StoreRecords::writeRecords({&mail}, [&hash](QByteArrayView bytes) {
        hash.addData(bytes);
        return true;
    });
    return QString::fromLatin1(hash.result().toHex().left(16));
}
