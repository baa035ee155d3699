#pragma once

#include "MailClients.h"

#include <QObject>
#include <QString>

// The chosen mail client. The main window's option buttons show and change
// this one value; the scheduler reads it at each delivery.
class MailClientChoice : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    MailClient value() const { return value_; }
    void setValue(MailClient client)
    {
        if (client == value_)
            return;
        value_ = client;
        emit changed(client);
    }
    bool is(MailClient client) const { return value_ == client; }

signals:
    void changed(MailClient client);

private:
    MailClient value_ = MailClient::Outlook;
};
