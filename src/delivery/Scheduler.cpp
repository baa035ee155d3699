#include "Scheduler.h"

#include "Clock.h"
#include "DateText.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "MailIdentity.h"
#include "MessageTexts.h"
#include "Program.h"
#include "ProgramLauncher.h"
#include "Routes.h"

#include <QScopeGuard>

#include <exception>

namespace {

// The clock as an automation date: days since 30/12/1899, time of day as the fraction.
automation::Date automationDate(const QDateTime &moment)
{
    const qint64 days = QDate(1899, 12, 30).daysTo(moment.date());
    return {double(days) + moment.time().msecsSinceStartOfDay() / 86400000.0};
}

} // namespace

OutgoingMail OutgoingMailOf(const MailItem &mail)
{
    return {mail.Titre.toStdString(), mail.Dest.toStdString(), mail.CC.toStdString(),
            mail.BCC.toStdString(), mail.Contenu.text().toStdString(), mail.Attach.toStdString()};
}

void Scheduler::SendDueMail()
{
    // A mail client's automation call may run the desktop's message loop while it
    // waits (a COM call into another process does), and a tick arriving then must
    // not hand the same mail over a second time.
    if (passRunning_)
        return;
    passRunning_ = true;
    const auto endPass = qScopeGuard([this] { passRunning_ = false; });
    // A save that failed after a hand-over still lists the mail that left.
    program_.pending.saveIfBehind();

    const QDateTime now = desktop().clock->now();
    const QString dateKey = DateText::formatDate(now.date());
    const QString minuteKey = DateText::formatMinuteKey(now.time());

    const ListRows &rows = program_.pending.lstHisto();
    int due = -1;
    for (int row = 0; row <= rows.ListCount() - 1; ++row) {
        const qint32 slot = rows.ItemData(row);
        if (!isMailSlot(slot))
            continue;  // not a mail's row: never due
        const SendMoment moment = program_.pending.sendMoment(qint16(slot));
        if (moment.minuteKey() == minuteKey && moment.dateText() == dateKey) {
            due = row;
            break;
        }
    }
    if (due < 0) {
        FindMissedMails();
        return;
    }

    const qint16 slot = qint16(rows.ItemData(due));
    if (!handOver(slot)) {
        FindMissedMails();
        return;
    }

    // Released by slot, not by the due row's position: the list may have changed during the call.
    program_.lstSent.AddItem(program_.pending.release(slot));
    FindMissedMails();
}

void Scheduler::FindMissedMails()
{
    const qint64 currentMinute = SendMoment::fromDateTime(desktop().clock->now()).minutes();
    ListRows &rows = program_.pending.lstHisto();
    QList<qint16> found;
    for (int row = 0; row < rows.ListCount(); ++row) {
        const qint32 slot = rows.ItemData(row);
        if (!isMailSlot(slot) || rows.marked(row))
            continue;
        if (program_.pending.sendMoment(qint16(slot)).minutes() >= currentMinute)
            break;  // rows ascend by send moment
        rows.setMarked(row, true);
        found << qint16(slot);
    }
    if (!found.isEmpty() && missedMailsFound)
        missedMailsFound(found);
}

void Scheduler::SendMissedNow(const QList<qint16> &mails)
{
    const SendMoment now = SendMoment::fromDateTime(desktop().clock->now());
    const ListRows &rows = program_.pending.lstHisto();
    QList<qint16> inRowOrder;
    for (int row = 0; row < rows.ListCount(); ++row)
        if (rows.marked(row) && mails.contains(qint16(rows.ItemData(row))))
            inRowOrder << qint16(rows.ItemData(row));
    if (inRowOrder.isEmpty())
        return;  // all edited, deleted or sent meanwhile
    program_.pending.moveTo(inRowOrder, now);
    SendDueMail();
}

bool Scheduler::handOver(qint16 slot)
{
    const OutgoingMail mail = OutgoingMailOf(program_.pending[slot]);
    if (!desktop().automation) {
        tellFailure(slot, QStringLiteral("aucun client de messagerie n'est disponible"));
        return false;
    }
    automation::Factory &factory = *desktop().automation;
    if (handingOver)
        handingOver(MailIdentity(program_.pending[slot]));
    const auto handedOver = qScopeGuard([this] {
        if (handingOver)
            handingOver({});
    });
    try {
        // No default: the build stops (-Werror=switch) when a mail client has no route here.
        switch (program_.mailClient.value()) {
        case MailClient::Outlook:
            // A sibling that cannot be started does not hold the mail back.
            desktop().launcher->launch(program_.paths.OutlookToolPath);
            SendWithOutlook(factory, mail);
            break;
        case MailClient::Notes:
            SendWithNotes(factory, mail, automationDate(desktop().clock->now()));
            break;
        case MailClient::Express:
            SendWithExpress(factory, mail);
            break;
        }
    } catch (const std::exception &failure) {
        tellFailure(slot, QString::fromUtf8(failure.what()));
        return false;
    } catch (...) {
        tellFailure(slot, QStringLiteral("erreur inconnue"));
        return false;
    }
    return true;
}

void Scheduler::tellFailure(qint16 slot, const QString &reason)
{
    // The next pass of the same minute retries the mail; telling the user
    // again then would only repeat the same news.
    const MailItem &mail = program_.pending[slot];
    const QString key = QString::number(slot) + QLatin1Char(' ') + mail.Date.dateTimeText();
    if (key == lastFailureShown_)
        return;
    lastFailureShown_ = key;
    const QString text = QStringLiteral("Le mail \"%1\" n'a pas pu être transmis à %2 (%3). "
                                        "Il sera réessayé pendant la minute en cours seulement ; ensuite il "
                                        "restera dans les mails en attente, marqué comme non parti.")
                             .arg(mail.Titre, QString::fromUtf8(entryOf(program_.mailClient.value()).noticeName), reason);
    desktop().notifier->notifyError(MessageTexts::ErrorTitle, MessageTexts::padded(text));
}
