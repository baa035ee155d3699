#include "SentRowStates.h"

#include "ListRows.h"
#include "OutboxWatch.h"
#include "PendingRows.h"
#include "RowPictograms.h"

#include <QTimer>

namespace {

QString moment(const QDateTime &at)
{
    return at.toString(QStringLiteral("dd/MM/yyyy à HH:mm:ss"));
}

QString tooltip(const OutboxWatch::Message &message)
{
    switch (message.state) {
    case OutboxWatch::State::Waiting:
        return QStringLiteral("Dans la boîte d'envoi : sendmail ne l'a pas encore pris.");
    case OutboxWatch::State::Refused:
        return QStringLiteral("Dans la boîte d'envoi : sendmail l'a refusé.\nSa dernière réponse : %1\n"
                              "Prochain essai le %2.")
            .arg(message.answer, moment(message.nextTry));
    case OutboxWatch::State::Left:
        return QStringLiteral("Parti le %1.").arg(moment(message.leftAt));
    }
    return {};
}

RowPictograms::Kind pictogram(OutboxWatch::State state)
{
    switch (state) {
    case OutboxWatch::State::Waiting: return RowPictograms::Kind::Waiting;
    case OutboxWatch::State::Refused: return RowPictograms::Kind::Refused;
    case OutboxWatch::State::Left: return RowPictograms::Kind::Left;
    }
    return RowPictograms::Kind::Waiting;
}

// The row a mail had, from its message's headers: the same columns as when it was pending.
QString rowText(const MessageSummary &summary)
{
    MailItem mail;
    mail.Date = SendMoment::fromDateTime(QDateTime::fromSecsSinceEpoch(summary.date));
    mail.Titre = QString::fromStdString(summary.subject);
    mail.Dest = QString::fromStdString(summary.to);
    mail.CC = QString::fromStdString(summary.cc);
    mail.BCC = QString::fromStdString(summary.bcc);
    return PendingRowText(mail);
}

} // namespace

SentRowStates::SentRowStates(ListRows &rows, OutboxWatch &watch, QObject *parent)
    : QIdentityProxyModel(parent), rows_(rows), watch_(&watch)
{
    messageOfRow_ = QStringList(rows_.ListCount(), QString());
    // Connected before the proxy's own forwarding, so a view asking at once finds its row's message.
    connect(&rows_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        for (int row = first; row <= last; ++row)
            messageOfRow_.insert(row, QString());
        // A hand-over adds its one row right after the message was written.
        messageOfRow_[last] = std::exchange(handedOver_, {});
    });
    connect(&rows_, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { messageOfRow_.remove(first, last - first + 1); });
    connect(&rows_, &QAbstractItemModel::modelReset, this,
            [this] { messageOfRow_ = QStringList(rows_.ListCount(), QString()); });

    setSourceModel(&rows_);

    connect(&watch, &OutboxWatch::handedOver, this, [this](const QString &message) {
        handedOver_ = message;
        // A hand-over that failed after all adds no row: the next row is not this one's.
        QTimer::singleShot(0, this, [this, message] {
            if (handedOver_ == message)
                handedOver_.clear();
        });
    });
    connect(&watch, &OutboxWatch::found, this, [this](const QString &message) {
        handedOver_ = message;
        rows_.AddItem(rowText(watch_->find(message)->summary));
    });
    connect(&watch, &OutboxWatch::changed, this, &SentRowStates::rowOfMessageChanged);
}

QVariant SentRowStates::data(const QModelIndex &index, int role) const
{
    if ((role == Qt::DecorationRole || role == Qt::ToolTipRole) && watch_ && index.row() < messageOfRow_.size()) {
        const OutboxWatch::Message *message = watch_->find(messageOfRow_.at(index.row()));
        if (!message) {
            // Only a hand-over whose failure the mail client took upon itself (Outlook's) adds a row without a message.
            if (role == Qt::DecorationRole)
                return RowPictograms::icon(RowPictograms::Kind::NotHandedOver);
            return QStringLiteral("Ce mail n'a pas pu être mis dans la boîte d'envoi : il n'est pas parti "
                                  "(Tardello vous a dit pourquoi).");
        }
        if (role == Qt::DecorationRole)
            return RowPictograms::icon(pictogram(message->state));
        return tooltip(*message);
    }
    return QIdentityProxyModel::data(index, role);
}

void SentRowStates::clearGone()
{
    for (int row = rows_.ListCount() - 1; row >= 0; --row) {
        const OutboxWatch::Message *message = watch_ ? watch_->find(messageOfRow_.value(row)) : nullptr;
        if (!message || message->state == OutboxWatch::State::Left)
            rows_.RemoveItem(row);
    }
}

void SentRowStates::rowOfMessageChanged(const QString &message)
{
    const int row = int(messageOfRow_.indexOf(message));
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole, Qt::ToolTipRole});
}
