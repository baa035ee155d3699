#pragma once

#include <QtTest>

// The local mail server of smtp_server.py, beside this file: it keeps each message in `folder` as "mail<n>".
// Given a certificate, its key, a user and a password (sent on its standard input), it asks for STARTTLS and AUTH.
class LocalSmtpServer
{
public:
    // The port it listens on; empty when it could not start.
    QByteArray start(const QString &folder, const QStringList &certKeyUser = {}, const QByteArray &password = {})
    {
        folder_ = folder;
        QDir().mkpath(folder);
        server_.start(QStringLiteral("/usr/bin/python3"), QStringList{QFINDTESTDATA("smtp_server.py"), folder} + certKeyUser);
        server_.write(password + '\n');
        server_.closeWriteChannel();
        return server_.waitForReadyRead(15000) ? server_.readLine().trimmed() : QByteArray();
    }
    ~LocalSmtpServer() { server_.kill(); server_.waitForFinished(5000); }
    // The messages received, in order.
    QList<QByteArray> received() const
    {
        QList<QByteArray> mails;
        for (const QString &name : QDir(folder_).entryList({"mail*"}, QDir::Files, QDir::Name)) {
            QFile mail(QDir(folder_).filePath(name));
            mails << (mail.open(QIODevice::ReadOnly) ? mail.readAll() : QByteArray());
        }
        return mails;
    }

private:
    QProcess server_;
    QString folder_;
};
