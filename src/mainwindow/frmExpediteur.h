#pragma once

#include "SenderTest.h"
#include "ServerCertificate.h"

#include <QWidget>

class LinuxMailClient;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSpinBox;

// The sender settings of the Linux program: sender, the way mails leave (the
// user's mail account through msmtp, or the sendmail command), start at login.
class frmExpediteur : public QWidget
{
    Q_OBJECT
public:
    // mail: the mail client whose sender the window shows and sets; programPath:
    // the program that the start-at-login entry starts.
    frmExpediteur(LinuxMailClient &mail, QString programDir, QString programPath, QWidget *parent = nullptr);

    // Fills the fields from the mail client's sender and the start-at-login entry,
    // then shows the window centred on its parent, sized to its content.
    void open();
    void cmdTester_Click();
    // Saves and applies; the window stays open when something could not be.
    void cmdConfirmer_Click();
    void cmdAbandonner_Click();
    // Keeps the fingerprint of the certificate the test showed, and tests again with it.
    void cmdConfiance_Click();

    QLineEdit *txtNom = nullptr;
    QLineEdit *txtAdresse = nullptr;
    QRadioButton *optCompte = nullptr;
    QRadioButton *optSendmail = nullptr;
    QWidget *fraCompte = nullptr;
    QLineEdit *txtServeur = nullptr;
    QSpinBox *txtPort = nullptr;
    QComboBox *cboSecurite = nullptr;
    QLineEdit *txtIdentifiant = nullptr;
    QLineEdit *txtMotDePasse = nullptr;
    QLabel *lblConseil = nullptr;    // the provider's advice on its password
    QLabel *lblTrousseau = nullptr;  // why the keyring cannot keep the password
    QWidget *fraSendmail = nullptr;
    QLineEdit *txtCommande = nullptr;
    QCheckBox *chkDemarrage = nullptr;
    QPushButton *cmdTester = nullptr;
    QScrollArea *scrResultat = nullptr;
    QLabel *lblResultat = nullptr;
    QPushButton *cmdConfiance = nullptr;
    QPushButton *cmdConfirmer = nullptr;
    QPushButton *cmdAbandonner = nullptr;
    SenderTest test;
    ServerCertificate certificate;

private:
    QWidget *buildAccount();
    void fill(const SenderIdentity &sender);
    SenderIdentity typed() const;
    void addressEdited(const QString &address);
    void securityChosen(int index);
    void showKeyringState();
    void showProviderHint();
    // Stores the typed password, if any; false (and told) when the keyring could not keep it.
    bool keepPassword(const SenderIdentity &sender, bool told);
    void showResult(const QString &text);
    // Grows the window when a wrapped text appears, so that nothing is cut (up to
    // the screen's height); at the opening, sizes it to its content.
    void fitContent(bool open = false);
    void testFinished(const QString &text);
    void certificateRead(const QString &subject, const QString &fingerprint);

    LinuxMailClient &mail_;
    QString programDir_;
    QString programPath_;
    std::string fingerprint_;     // accepted for the server shown
    QString offeredFingerprint_;  // shown by the last test, not yet accepted
    QString testText_;
    bool serverEdited_ = false;   // the user typed the server: the address no longer fills it
    bool userEdited_ = false;     // the user typed the login: it no longer follows the address
};
