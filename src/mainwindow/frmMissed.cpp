#include "frmMissed.h"

#include "MessageTexts.h"
#include "Program.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmMissed::frmMissed(Program &program, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), program_(program)
{
    setObjectName(QStringLiteral("frmMissed"));
    setWindowTitle(MessageTexts::Title);
    auto *text = new QLabel(QStringLiteral(
        "Ces mails ne sont pas partis à l'heure prévue : Tardello était arrêté, l'ordinateur en veille, "
        "l'horloge a changé ou le programme était occupé. Ils restent dans les mails en attente, marqués en "
        "orange, et Tardello ne les enverra pas de lui-même."), this);
    text->setWordWrap(true);
    lstMissed = new QListWidget(this);
    lstMissed->setObjectName(QStringLiteral("lstMissed"));
    cmdSendNow = new QPushButton(QStringLiteral("Envoyer maintenant"), this);
    cmdSendNow->setObjectName(QStringLiteral("cmdSendNow"));
    cmdLeave = new QPushButton(QStringLiteral("Les laisser pour les modifier"), this);
    cmdLeave->setObjectName(QStringLiteral("cmdLeave"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSendNow);
    buttons->addWidget(cmdLeave);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(lstMissed);
    layout->addLayout(buttons);
    resize(560, 260);
    // The one-step choice is also one key away: Space on the focused button.
    cmdSendNow->setDefault(true);
    setFocusProxy(cmdSendNow);
    connect(cmdSendNow, &QPushButton::clicked, this, &frmMissed::cmdSendNow_Click);
    connect(cmdLeave, &QPushButton::clicked, this, &frmMissed::cmdLeave_Click);
}

void frmMissed::addMails(const QList<qint16> &mails)
{
    for (const qint16 slot : mails) {
        if (slots_.contains(slot))
            continue;
        slots_ << slot;
        const MailItem &mail = program_.pending[slot];
        lstMissed->addItem(QStringLiteral("prévu le %1 à %2   \"%3\"   pour %4")
                               .arg(mail.Date.dateText(), mail.Date.timeText(), mail.Titre, mail.Dest));
    }
}

void frmMissed::cmdSendNow_Click()
{
    const QList<qint16> chosen = std::exchange(slots_, {});
    lstMissed->clear();
    hide();
    if (sendNow)
        sendNow(chosen);
}

void frmMissed::cmdLeave_Click()
{
    slots_.clear();
    lstMissed->clear();
    hide();
}
