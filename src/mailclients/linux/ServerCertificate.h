#pragma once

#include "SenderIdentity.h"

#include <QObject>
#include <QProcess>

// Reads the certificate an account's server presents (msmtp --serverinfo,
// without checking it), in the background, so that the user can decide to
// trust a certificate the system does not know.
class ServerCertificate : public QObject
{
    Q_OBJECT
public:
    explicit ServerCertificate(QObject *parent = nullptr);
    ~ServerCertificate() override;

    void start(const SenderIdentity &account);
    bool running() const { return process_.state() != QProcess::NotRunning; }

    // The subject and the SHA-256 fingerprint ("AA:BB:...") in msmtp's server information.
    static bool parse(const QString &serverInfo, QString &subject, QString &fingerprint);

signals:
    // Empty fingerprint when the certificate could not be read.
    void read(const QString &subject, const QString &fingerprint);

private:
    QProcess process_;
};
