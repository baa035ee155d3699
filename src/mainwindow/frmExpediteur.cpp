#include "frmExpediteur.h"

#include "Artwork.h"
#include "Desktop.h"
#include "DesktopEntries.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "SenderFile.h"
#include "SendmailCommand.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void tellError(const QString &text)
{
    desktop().messageBox->show(MessageTexts::padded(text), MsgBox::OkOnly | MsgBox::Critical,
                               MessageTexts::ErrorTitle);
}
} // namespace

frmExpediteur::frmExpediteur(QString programDir, QString programPath, QWidget *parent)
    : QWidget(parent, Qt::Window), programDir_(std::move(programDir)), programPath_(std::move(programPath))
{
    setObjectName(QStringLiteral("frmExpediteur"));
    setWindowTitle(QStringLiteral("Tardello - Expéditeur"));
    setWindowIcon(Artwork::programIcon());
    auto *intro = new QLabel(QStringLiteral("Sous Linux, vos mails partent par la commande sendmail de ce poste.\n"
                                            "Indiquez le nom et l'adresse qu'ils porteront comme expéditeur."));
    auto line = [this](const char *name) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        return field;
    };
    txtNom = line("txtNom");
    txtAdresse = line("txtAdresse");
    txtAdresse->setPlaceholderText(QStringLiteral("vous@exemple.fr"));
    txtCommande = line("txtCommande");
    chkDemarrage = new QCheckBox(QStringLiteral("Lancer Tardello à l'ouverture de session"), this);
    chkDemarrage->setObjectName(QStringLiteral("chkDemarrage"));
    auto button = [this](const char *name, const QString &text) {
        auto *pushed = new QPushButton(text, this);
        pushed->setObjectName(QString::fromLatin1(name));
        pushed->setAutoDefault(false);
        return pushed;
    };
    cmdTester = button("cmdTester", QStringLiteral("Tester"));
    cmdConfirmer = button("cmdConfirmer", QStringLiteral("Confirmer"));
    cmdAbandonner = button("cmdAbandonner", QStringLiteral("Abandonner"));
    lblResultat = new QLabel(this);
    lblResultat->setObjectName(QStringLiteral("lblResultat"));
    lblResultat->setWordWrap(true);
    lblResultat->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblResultat->setMinimumHeight(fontMetrics().height() * 3);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Nom :"), txtNom);
    form->addRow(QStringLiteral("Adresse :"), txtAdresse);
    form->addRow(QStringLiteral("Commande d'envoi :"), txtCommande);
    auto *testRow = new QHBoxLayout;
    testRow->addWidget(cmdTester, 0, Qt::AlignTop);
    testRow->addWidget(lblResultat, 1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdConfirmer);
    closeRow->addWidget(cmdAbandonner);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addLayout(testRow);
    layout->addWidget(chkDemarrage);
    layout->addLayout(closeRow);
    setMinimumWidth(480);

    connect(cmdTester, &QPushButton::clicked, this, &frmExpediteur::cmdTester_Click);
    connect(cmdConfirmer, &QPushButton::clicked, this, &frmExpediteur::cmdConfirmer_Click);
    connect(cmdAbandonner, &QPushButton::clicked, this, &frmExpediteur::cmdAbandonner_Click);
    connect(&test, &SenderTest::finished, this, [this](bool, const QString &text) {
        lblResultat->setText(text);
        cmdTester->setEnabled(true);
    });
}

void frmExpediteur::open()
{
    const SenderIdentity &sender = CurrentSender();
    txtNom->setText(QString::fromStdString(sender.name));
    txtAdresse->setText(QString::fromStdString(sender.address));
    txtCommande->setText(QString::fromStdString(sender.command));
    const QString system = sendmailCommand(SenderIdentity{}).program;
    txtCommande->setPlaceholderText(system.isEmpty() ? QStringLiteral("aucun sendmail trouvé : installez msmtp-mta")
                                                     : system);
    chkDemarrage->setChecked(DesktopEntries::startsAtLogin(programPath_));
    if (!test.running())
        lblResultat->clear();
    show();
    raise();
    activateWindow();
}

SenderIdentity frmExpediteur::typed() const
{
    return {txtNom->text().simplified().toStdString(), txtAdresse->text().trimmed().toStdString(),
            txtCommande->text().trimmed().toStdString()};
}

void frmExpediteur::cmdTester_Click()
{
    const SenderIdentity sender = typed();
    if (sender.address.empty()) {
        lblResultat->setText(QStringLiteral("Indiquez d'abord votre adresse : le message d'essai lui est envoyé."));
        return;
    }
    lblResultat->setText(
        QStringLiteral("Envoi du message d'essai à %1...").arg(QString::fromStdString(sender.address)));
    cmdTester->setEnabled(false);
    if (!test.start(sender))
        cmdTester->setEnabled(!test.running());
}

void frmExpediteur::cmdConfirmer_Click()
{
    const SenderIdentity sender = typed();
    const QString address = QString::fromStdString(sender.address);
    if (!address.isEmpty() && (address.count(QLatin1Char('@')) != 1 || address.startsWith(QLatin1Char('@'))
                               || address.endsWith(QLatin1Char('@')) || address.contains(QLatin1Char(' ')))) {
        tellError(QStringLiteral("L'adresse d'expéditeur « %1 » n'est pas valable.").arg(address));
        return;
    }
    const QString path = SenderFilePath(programDir_);
    if (!SaveSender(path, sender)) {
        tellError(QStringLiteral("Les réglages n'ont pas pu être enregistrés dans le fichier %1.").arg(path));
        return;
    }
    SetCurrentSender(sender);
    const bool wanted = chkDemarrage->isChecked();
    if (wanted != DesktopEntries::startsAtLogin(programPath_)
        && !DesktopEntries::setStartAtLogin(programPath_, wanted)) {
        tellError(QStringLiteral("Le lancement à l'ouverture de session n'a pas pu être modifié (%1).")
                      .arg(DesktopEntries::autostartPath()));
        return;
    }
    hide();
}

void frmExpediteur::cmdAbandonner_Click()
{
    hide();
}
