// The sender window's behaviour: the account's fields, the test, the keyring and saving.
#include "frmExpediteur.h"

#include "AccountPassword.h"
#include "Desktop.h"
#include "DesktopEntries.h"
#include "LinuxMailClient.h"
#include "MailProviders.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "SenderFile.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QLayout>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>

namespace {

void tellError(const QString &text)
{
    desktop().messageBox->show(MessageTexts::padded(text), MsgBox::OkOnly | MsgBox::Critical,
                               MessageTexts::ErrorTitle);
}

constexpr int UsualPorts[] = {587, 465, 25};  // by the security's index

} // namespace

void frmExpediteur::addressEdited(const QString &address)
{
    if (!userEdited_)
        txtIdentifiant->setText(address.trimmed());
    const auto provider = providerOf(address);
    if (provider && !serverEdited_) {
        txtServeur->setText(provider->server);
        txtPort->setValue(provider->port);
        cboSecurite->setCurrentIndex(static_cast<int>(provider->security));
        fingerprint_.clear();
    }
    showProviderHint();
}

void frmExpediteur::showProviderHint()
{
    const auto provider = providerOf(txtAdresse->text());
    const QString hint = provider && optCompte->isChecked() ? provider->passwordHint : QString();
    lblConseil->setText(hint);
    lblConseil->setVisible(!hint.isEmpty());
    fitContent();
}

void frmExpediteur::securityChosen(int index)
{
    // The usual port follows the security, unless the user chose another one.
    if (std::ranges::find(UsualPorts, txtPort->value()) != std::end(UsualPorts))
        txtPort->setValue(UsualPorts[index]);
}

void frmExpediteur::showKeyringState()
{
    QString problem;
    const SenderIdentity account = typed();
    const auto kept = AccountPassword::kept(account, &problem);
    txtMotDePasse->setPlaceholderText(kept == AccountPassword::Kept::Yes ? QStringLiteral("gardé dans le trousseau")
                                                                         : QString());
    lblTrousseau->setText(problem);
    lblTrousseau->setVisible(kept == AccountPassword::Kept::NoKeyring);
    fitContent();
}

bool frmExpediteur::keepPassword(const SenderIdentity &sender, bool told)
{
    if (sender.server.empty() || txtMotDePasse->text().isEmpty())
        return true;
    const auto problem = AccountPassword::store(sender, txtMotDePasse->text());
    if (!problem) {
        lblTrousseau->hide();
        txtMotDePasse->clear();
        txtMotDePasse->setPlaceholderText(QStringLiteral("gardé dans le trousseau"));
        return true;
    }
    lblTrousseau->setText(*problem);
    lblTrousseau->setVisible(true);
    fitContent();
    if (told)
        tellError(*problem);
    else
        showResult(*problem);
    return false;
}

void frmExpediteur::showResult(const QString &text)
{
    lblResultat->setText(text);
    const int lines = fontMetrics().height();
    const int wanted = lblResultat->heightForWidth(scrResultat->viewport()->width()) + 4;
    scrResultat->setMinimumHeight(std::clamp(wanted, lines * 3, lines * 12));
    fitContent();
}

void frmExpediteur::fitContent(bool open)
{
    if (!open && !isVisible())
        return;  // the opening sizes it
    layout()->invalidate();
    layout()->activate();
    const int width = open ? std::max(sizeHint().width(), minimumWidth()) : this->width();
    int wanted = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height();
    if (const QScreen *shown = screen())
        wanted = std::min(wanted, shown->availableGeometry().height());
    if (open || wanted > height())
        resize(width, wanted);
}

void frmExpediteur::cmdTester_Click()
{
    const SenderIdentity sender = typed();
    cmdConfiance->hide();
    if (sender.address.empty()) {
        showResult(QStringLiteral("Indiquez d'abord votre adresse : le message d'essai lui est envoyé."));
        return;
    }
    if (optCompte->isChecked() && sender.server.empty()) {
        showResult(QStringLiteral("Indiquez le serveur d'envoi de votre compte (votre fournisseur le donne)."));
        return;
    }
    if (!keepPassword(sender, false))
        return;
    showResult(QStringLiteral("Envoi du message d'essai à %1...").arg(QString::fromStdString(sender.address)));
    cmdTester->setEnabled(false);
    if (!test.start(sender))
        cmdTester->setEnabled(!test.running());
}

void frmExpediteur::testFinished(const QString &text)
{
    testText_ = text;
    showResult(text);
    // A certificate this machine does not trust: show it, and let the user decide.
    if (optCompte->isChecked() && test.lastFailure() == SendFailure::Certificate) {
        showResult(text + QStringLiteral("\nLecture du certificat du serveur..."));
        certificate.start(typed());
        if (certificate.running())
            return;
    }
    cmdTester->setEnabled(true);
}

void frmExpediteur::certificateRead(const QString &subject, const QString &fingerprint)
{
    cmdTester->setEnabled(true);
    offeredFingerprint_ = fingerprint;
    if (fingerprint.isEmpty()) {
        showResult(testText_ + QStringLiteral("\nLe certificat du serveur n'a pas pu être lu."));
        return;
    }
    showResult(testText_
               + QStringLiteral("\n\nCertificat présenté par le serveur :\nSujet : %1\nEmpreinte SHA-256 : %2\n"
                                "Ne lui faites confiance que si votre fournisseur ou votre administrateur vous "
                                "confirme cette empreinte.")
                     .arg(subject.isEmpty() ? QStringLiteral("(aucun)") : subject, fingerprint));
    cmdConfiance->show();
}

void frmExpediteur::cmdConfiance_Click()
{
    if (offeredFingerprint_.isEmpty())
        return;
    fingerprint_ = offeredFingerprint_.toStdString();
    offeredFingerprint_.clear();
    cmdTester_Click();
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
    if (optCompte->isChecked() && sender.server.empty()) {
        tellError(QStringLiteral("Indiquez le serveur d'envoi de votre compte, ou choisissez « La commande sendmail "
                                 "de ce poste »."));
        return;
    }
    if (!keepPassword(sender, true))
        return;
    const QString path = SenderFilePath(programDir_);
    if (!SaveSender(path, sender)) {
        tellError(QStringLiteral("Les réglages n'ont pas pu être enregistrés dans le fichier %1.").arg(path));
        return;
    }
    mail_.setSender(sender);
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
