#pragma once

// Files and records shared by the store tests.

#include "MailStore.h"

#include <QFile>
#include <QTest>

#include <memory>

namespace StoreFixtures {
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

inline MailItem mail(const QString &titre, const QString &body, SendMoment date = SendMoment::fromDateTime({2026, 12, 4}, {18, 30}))
{
    MailItem item;
    item.InUse = true;
    item.Titre = titre;
    item.Dest = QStringLiteral("a@x.fr;b@y.fr");
    item.Attach = QStringLiteral("C:\\Docs\\ordre.doc");
    item.Contenu = body;
    item.Date = date;
    return item;
}

inline QByteArray record(const QByteArray &titre, const QByteArray &body)
{
    return "Titre=" + titre + "\r\nDest=a@x.fr;b@y.fr\r\nCC=\r\nBCC=\r\nDate=04/12/2026 18:30\r\n"
           "Attach=C:\\Docs\\ordre.doc\r\nDebutContenu=\r\n" + body + "\r\n=FinContenu\r\n";
}

struct Loaded
{
    MailTable table;
    ListRows rows;
};

// Loads the store as start-up does, into an empty table and list.
inline std::unique_ptr<Loaded> load(MailStore &store)
{
    auto loaded = std::make_unique<Loaded>();
    store.LoadMailStore(loaded->table, loaded->rows);
    return loaded;
}

inline bool sameMail(const MailItem &a, const MailItem &b)
{
    return a.Titre == b.Titre && a.Dest == b.Dest && a.CC == b.CC && a.BCC == b.BCC && a.Attach == b.Attach
        && a.Contenu == b.Contenu && a.Date == b.Date && a.InUse == b.InUse;
}
} // namespace StoreFixtures
