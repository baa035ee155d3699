#pragma once

#include <QList>
#include <QWidget>

#include <functional>

class QListWidget;
class QPushButton;
struct Program;

// The missed mails: pending mails whose minute passed unsent.
// Tells of them without blocking and offers to send them now or to leave them for
// editing. Mails found while it is open join the list.
class frmMissed : public QWidget
{
    Q_OBJECT
public:
    explicit frmMissed(Program &program, QWidget *parent = nullptr);

    void addMails(const QList<qint16> &mails);
    const QList<qint16> &mails() const { return slots_; }

    void cmdSendNow_Click();
    void cmdLeave_Click();

    // What "send now" does with the listed mails (the scheduler's SendMissedNow).
    std::function<void(const QList<qint16> &)> sendNow;

    QListWidget *lstMissed = nullptr;
    QPushButton *cmdSendNow = nullptr;
    QPushButton *cmdLeave = nullptr;

private:
    Program &program_;
    QList<qint16> slots_;
};
