#pragma once

#include <QIdentityProxyModel>
#include <QPointer>
#include <QStringList>

class ListRows;
class OutboxWatch;

// The transmitted mails' rows as the Linux main window shows them: each with
// the pictogram and the tooltip of where its message is (waiting in the
// outbox, refused and waiting for the next try, gone, or never put there), following the outbox
// as it changes. The rows' texts are those of the list, untouched; the rows
// of the messages an earlier run left waiting are added at start-up.
class SentRowStates : public QIdentityProxyModel
{
    Q_OBJECT
public:
    SentRowStates(ListRows &rows, OutboxWatch &watch, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // "Vider": the rows of the mails gone; a mail still waiting keeps its row.
    void clearGone();

private:
    void rowOfMessageChanged(const QString &message);

    ListRows &rows_;
    QPointer<OutboxWatch> watch_;  // the mail client's, which may end before the window
    QStringList messageOfRow_;  // one per row of the list, empty for a row without a message
    QString handedOver_;        // the message the row about to be added is for
};
