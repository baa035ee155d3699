#include "OutboxWatch.h"

#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Outbox.h"
#include "OutboxSubmitter.h"

#include <QFile>

#include <unistd.h>

#include <algorithm>

namespace {

// The headers are all that is needed of a message, and they come first.
constexpr qint64 HeaderBytes = 64 * 1024;

QString describe(const MessageSummary &mail)
{
    return QStringLiteral("Le mail \"%1\" pour %2")
        .arg(QString::fromStdString(mail.subject), QString::fromStdString(mail.recipients));
}

} // namespace

OutboxWatch::OutboxWatch(Outbox &outbox, OutboxSubmitter &submitter) : outbox_(outbox)
{
    departureNotice_.setSingleShot(true);
    departureNotice_.setInterval(std::chrono::seconds(2));
    connect(&departureNotice_, &QTimer::timeout, this, &OutboxWatch::tellDepartures);
    connect(&submitter, &OutboxSubmitter::refused, this, &OutboxWatch::refused);
    connect(&submitter, &OutboxSubmitter::left, this, &OutboxWatch::left);
}

void OutboxWatch::start()
{
    for (const QString &message : outbox_.messages()) {
        if (messages_.contains(message))
            continue;
        read(message).toldWhenLeaves = true;
        emit found(message);
    }
}

void OutboxWatch::deposited()
{
    const QStringList waiting = outbox_.messages();
    for (auto newest = waiting.crbegin(); newest != waiting.crend(); ++newest) {
        if (!messages_.contains(*newest)) {
            read(*newest);
            emit handedOver(*newest);
            return;
        }
    }
}

const OutboxWatch::Message *OutboxWatch::find(const QString &message) const
{
    const auto found = messages_.find(message);
    return found == messages_.end() ? nullptr : &found->second;
}

int OutboxWatch::waiting() const
{
    const QStringList inOutbox = outbox_.messages();
    return int(std::count_if(inOutbox.begin(), inOutbox.end(), [this](const QString &message) {
        const Message *known = find(message);
        return !known || known->state != State::Left;
    }));
}

void OutboxWatch::tellWaitingAtQuit()
{
    const int count = waiting();
    if (count == 0)
        return;
    Notifier *notifier = desktop().notifier;
    if (notifier) {
        for (const auto &[message, known] : messages_)
            if (known.state != State::Left)
                notifier->withdraw(message);
    }
    const QString text =
        count == 1 ? QStringLiteral("Un mail attend encore dans la boîte d'envoi ; il partira au prochain démarrage "
                                    "de Tardello.")
                   : QStringLiteral("%1 mails attendent encore dans la boîte d'envoi ; ils partiront au prochain "
                                    "démarrage de Tardello.")
                         .arg(count);
    if ((!notifier || !notifier->notifyLasting(MessageTexts::Title, MessageTexts::padded(text))) && desktop().messageBox)
        desktop().messageBox->show(MessageTexts::padded(text), MsgBox::OkOnly, MessageTexts::Title);
}

OutboxWatch::Message &OutboxWatch::read(const QString &message)
{
    Message &known = messages_[message];
    // Opened as the submitter opens it: an entry that is no message (a pipe) must not block.
    QString reason;
    bool notMessage = false;
    if (const int fd = outbox_.openMessage(QFile::encodeName(message), reason, notMessage); fd >= 0) {
        QByteArray head(HeaderBytes, Qt::Uninitialized);
        head.truncate(std::max<ssize_t>(::read(fd, head.data(), head.size()), 0));
        ::close(fd);
        known.summary = SummarizeMessage(head.toStdString());
    }
    if (known.summary.date == 0) {
        // Without a readable Date header, the name tells when it was handed over.
        QDateTime named = QDateTime::fromString(message.left(18), QStringLiteral("yyyyMMdd-HHmmsszzz"));
        named.setTimeSpec(Qt::UTC);
        if (named.isValid())
            known.summary.date = named.toSecsSinceEpoch();
    }
    return known;
}

void OutboxWatch::tellDeparture(const QString &message)
{
    // A queue emptying at once is told in one notice, once it has emptied.
    departed_ << message;
    departureNotice_.start();
}

void OutboxWatch::tellDepartures()
{
    Notifier *notifier = desktop().notifier;
    const QStringList departed = std::exchange(departed_, {});
    if (!notifier || departed.isEmpty())
        return;
    const QString last = describe(messages_[departed.last()].summary) + QStringLiteral(" est finalement parti.");
    // The departure takes the place of what was said about the refusal.
    for (const QString &message : departed.mid(1))
        notifier->withdraw(message);
    notifier->notifyInfoAbout(departed.first(), MessageTexts::Title,
                              MessageTexts::padded(departed.size() == 1
                                                       ? last
                                                       : QStringLiteral("%1 mails de la boîte d'envoi sont finalement "
                                                                        "partis. Le dernier : %2")
                                                             .arg(departed.size())
                                                             .arg(last)));
}

void OutboxWatch::refused(const QString &message, const QString &answer, const QDateTime &nextTry)
{
    Message &known = messages_.contains(message) ? messages_[message] : read(message);
    known.state = State::Refused;
    known.answer = answer;
    known.nextTry = nextTry;
    known.toldWhenLeaves = true;
    emit changed(message);
}

void OutboxWatch::left(const QString &message, const QDateTime &at)
{
    Message &known = messages_[message];
    known.state = State::Left;
    known.leftAt = at;
    if (known.toldWhenLeaves)
        tellDeparture(message);
    emit changed(message);
}
