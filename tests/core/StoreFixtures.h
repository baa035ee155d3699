#pragma once

// Files and records shared by the store tests.

#include "TestProgram.h"

namespace StoreFixtures {
inline MailItem mail(const QString &titre, const QString &body = {})
{
    return {SendMoment::fromDateTime({2026, 12, 4}, {18, 30}), titre, "a@x.fr;b@y.fr", {}, {}, body, "C:\\Docs\\ordre.doc", true};
}

inline QByteArray record(const QByteArray &titre, const QByteArray &body)
{
    return "Titre=" + titre + "\r\nDest=a@x.fr;b@y.fr\r\nCC=\r\nBCC=\r\nDate=04/12/2026 18:30\r\n"
           "Attach=C:\\Docs\\ordre.doc\r\nDebutContenu=\r\n" + body + "\r\n=FinContenu\r\n";
}

inline QStringList fields(const MailItem &m)
{
    return {m.Titre, m.Dest, m.CC, m.BCC, m.Attach, m.Contenu.text(), m.Date.dateTimeText(), m.InUse ? "in use" : "free"};
}

// The store file of a program in a fresh folder, loaded as start-up does into an empty table and list.
struct StoreCase : TestProgram
{
    QString path = program.paths.StorePath;
    MailStore store{path};
    MailTable table;
    ListRows rows;
    QByteArray bytes(const QString &suffix = {}) { return desk.files.read(path + suffix).value_or("<missing>"); }
    void load() { table.clear(), rows.Clear(), store.LoadMailStore(table, rows); }
};
} // namespace StoreFixtures
