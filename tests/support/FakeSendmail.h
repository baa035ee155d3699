#pragma once

#include <QtTest>

// A sendmail of the test's own, first on PATH while this lives: it keeps each message it reads as
// "sent<n>" in its folder (its arguments in "args"), and refuses as msmtp does, exit 75 and its words
// on standard error, while the file "down" is there. put() gives it, or a command beside it, another script.
class FakeSendmail
{
public:
    explicit FakeSendmail(const QString &folder) : folder_(folder)
    {
        QDir(folder).mkpath(QStringLiteral("bin"));
        put("#!/bin/sh\nif [ -e \"$OUT/down\" ]; then cat >/dev/null; "
            "echo 'msmtp: cannot connect to smtp.exemple.fr, port 587' >&2; exit 75; fi\n"
            "n=$(ls \"$OUT\" | grep -c '^sent') ; printf '%s|' \"$@\" > \"$OUT/args\"\ncat > \"$OUT/sent$n\"\n");
        qputenv("OUT", QFile::encodeName(folder));
        qputenv("PATH", QFile::encodeName(folder + "/bin") + ':' + path_);
    }
    ~FakeSendmail() { qputenv("PATH", path_); }
    FakeSendmail(const FakeSendmail &) = delete;
    FakeSendmail &operator=(const FakeSendmail &) = delete;

    bool put(const QByteArray &script, const QString &name = QStringLiteral("sendmail")) const
    {
        QFile file(folder_ + "/bin/" + name);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(script) == script.size() &&
               file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool setDown(bool down) const
    {
        QFile flag(folder_ + "/down");
        return down ? flag.open(QIODevice::WriteOnly) : flag.remove();
    }

private:
    QString folder_;
    QByteArray path_ = qgetenv("PATH");
};
