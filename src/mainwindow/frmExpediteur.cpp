#include "frmExpediteur.h"

#include "Artwork.h"
#include "DesktopEntries.h"
#include "LinuxMailClient.h"
#include "SendmailCommand.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

frmExpediteur::frmExpediteur(LinuxMailClient &mail, QString programDir, QString programPath, QWidget *parent)
    : QWidget(parent, Qt::Window), mail_(mail), programDir_(std::move(programDir)), programPath_(std::move(programPath))
{
    setObjectName(QStringLiteral("frmExpediteur"));
    setWindowTitle(QStringLiteral("Tardello - Expéditeur"));
    setWindowIcon(Artwork::programIcon());
    auto *intro = new QLabel(QStringLiteral("Indiquez le nom et l'adresse que vos mails porteront comme expéditeur,\n"
                                            "puis par où ils partent."));
    auto line = [this](const char *name) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        return field;
    };
    txtNom = line("txtNom");
    txtAdresse = line("txtAdresse");
    txtAdresse->setPlaceholderText(QStringLiteral("vous@exemple.fr"));
    optCompte = new QRadioButton(QStringLiteral("Mon compte de messagerie"), this);
    optCompte->setObjectName(QStringLiteral("optCompte"));
    optSendmail = new QRadioButton(QStringLiteral("La commande sendmail de ce poste"), this);
    optSendmail->setObjectName(QStringLiteral("optSendmail"));
    auto *route = new QButtonGroup(this);
    route->addButton(optCompte);
    route->addButton(optSendmail);
    fraCompte = buildAccount();
    // Under the account's fields, in the window's own column, where a wrapped text gets its whole height.
    auto note = [this](const char *name) {
        auto *said = new QLabel(this);
        said->setObjectName(QString::fromLatin1(name));
        said->setWordWrap(true);
        said->setTextInteractionFlags(Qt::TextSelectableByMouse);
        said->setContentsMargins(20, 0, 0, 0);
        said->hide();
        return said;
    };
    lblConseil = note("lblConseil");
    lblTrousseau = note("lblTrousseau");
    txtCommande = line("txtCommande");
    fraSendmail = new QWidget(this);
    auto *sendmailForm = new QFormLayout(fraSendmail);
    sendmailForm->setContentsMargins(20, 0, 0, 0);
    sendmailForm->addRow(QStringLiteral("Commande d'envoi :"), txtCommande);
    chkDemarrage = new QCheckBox(QStringLiteral("Lancer Tardello à l'ouverture de session"), this);
    chkDemarrage->setObjectName(QStringLiteral("chkDemarrage"));
    auto button = [this](const char *name, const QString &text) {
        auto *pushed = new QPushButton(text, this);
        pushed->setObjectName(QString::fromLatin1(name));
        pushed->setAutoDefault(false);
        return pushed;
    };
    cmdTester = button("cmdTester", QStringLiteral("Tester"));
    cmdConfiance = button("cmdConfiance", QStringLiteral("Faire confiance à ce certificat"));
    cmdConfiance->hide();
    cmdConfirmer = button("cmdConfirmer", QStringLiteral("Confirmer"));
    cmdAbandonner = button("cmdAbandonner", QStringLiteral("Abandonner"));
    // The test's answer may be long (the server's own words): it grows the
    // window up to a dozen lines, then scrolls, and never squeezes the fields.
    lblResultat = new QLabel;
    lblResultat->setObjectName(QStringLiteral("lblResultat"));
    lblResultat->setWordWrap(true);
    lblResultat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblResultat->setTextInteractionFlags(Qt::TextSelectableByMouse);
    scrResultat = new QScrollArea(this);
    scrResultat->setObjectName(QStringLiteral("scrResultat"));
    scrResultat->setWidget(lblResultat);
    scrResultat->setWidgetResizable(true);
    scrResultat->setFrameShape(QFrame::NoFrame);
    scrResultat->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrResultat->setMinimumHeight(fontMetrics().height() * 3);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Nom :"), txtNom);
    form->addRow(QStringLiteral("Adresse :"), txtAdresse);
    auto *testColumn = new QVBoxLayout;
    testColumn->addWidget(cmdTester);
    testColumn->addWidget(cmdConfiance);
    testColumn->addStretch();
    auto *testRow = new QHBoxLayout;
    testRow->addLayout(testColumn);
    testRow->addWidget(scrResultat, 1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(cmdConfirmer);
    closeRow->addWidget(cmdAbandonner);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(optCompte);
    layout->addWidget(fraCompte);
    layout->addWidget(lblConseil);
    layout->addWidget(lblTrousseau);
    layout->addWidget(optSendmail);
    layout->addWidget(fraSendmail);
    layout->addLayout(testRow, 1);
    layout->addWidget(chkDemarrage);
    layout->addLayout(closeRow);
    setMinimumWidth(520);

    connect(optCompte, &QRadioButton::toggled, this, [this](bool account) {
        fraCompte->setEnabled(account);
        fraSendmail->setEnabled(!account);
        if (account)
            showKeyringState();
        else
            lblTrousseau->hide();  // the sendmail choice needs no keyring
        showProviderHint();
    });
    connect(txtAdresse, &QLineEdit::textEdited, this, &frmExpediteur::addressEdited);
    connect(txtServeur, &QLineEdit::textEdited, this, [this] {
        serverEdited_ = true;
        fingerprint_.clear();  // an accepted certificate belongs to one server
    });
    connect(txtIdentifiant, &QLineEdit::textEdited, this, [this] { userEdited_ = true; });
    connect(cboSecurite, &QComboBox::activated, this, &frmExpediteur::securityChosen);
    connect(cmdTester, &QPushButton::clicked, this, &frmExpediteur::cmdTester_Click);
    connect(cmdConfiance, &QPushButton::clicked, this, &frmExpediteur::cmdConfiance_Click);
    connect(cmdConfirmer, &QPushButton::clicked, this, &frmExpediteur::cmdConfirmer_Click);
    connect(cmdAbandonner, &QPushButton::clicked, this, &frmExpediteur::cmdAbandonner_Click);
    connect(&test, &SenderTest::finished, this, [this](bool, const QString &text) { testFinished(text); });
    connect(&certificate, &ServerCertificate::read, this, &frmExpediteur::certificateRead);
}

QWidget *frmExpediteur::buildAccount()
{
    auto *frame = new QWidget(this);
    txtServeur = new QLineEdit(frame);
    txtServeur->setObjectName(QStringLiteral("txtServeur"));
    txtServeur->setPlaceholderText(QStringLiteral("smtp.exemple.fr"));
    txtPort = new QSpinBox(frame);
    txtPort->setObjectName(QStringLiteral("txtPort"));
    txtPort->setRange(1, 65535);
    txtPort->setValue(587);
    cboSecurite = new QComboBox(frame);
    cboSecurite->setObjectName(QStringLiteral("cboSecurite"));
    cboSecurite->addItems({QStringLiteral("STARTTLS"), QStringLiteral("TLS"), QStringLiteral("aucune")});
    txtIdentifiant = new QLineEdit(frame);
    txtIdentifiant->setObjectName(QStringLiteral("txtIdentifiant"));
    txtMotDePasse = new QLineEdit(frame);
    txtMotDePasse->setObjectName(QStringLiteral("txtMotDePasse"));
    txtMotDePasse->setEchoMode(QLineEdit::Password);
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(txtPort);
    portRow->addWidget(new QLabel(QStringLiteral("Sécurité :"), frame));
    portRow->addWidget(cboSecurite);
    portRow->addStretch();
    auto *form = new QFormLayout(frame);
    form->setContentsMargins(20, 0, 0, 0);
    form->addRow(QStringLiteral("Serveur d'envoi :"), txtServeur);
    form->addRow(QStringLiteral("Port :"), portRow);
    form->addRow(QStringLiteral("Identifiant :"), txtIdentifiant);
    form->addRow(QStringLiteral("Mot de passe :"), txtMotDePasse);
    return frame;
}

void frmExpediteur::open()
{
    fill(mail_.sender());
    chkDemarrage->setChecked(DesktopEntries::startsAtLogin(programPath_));
    if (!test.running() && !certificate.running()) {
        showResult({});
        cmdConfiance->hide();
    }
    fitContent(true);
    if (QWidget *main = parentWidget()) {
        QRect placed = frameGeometry();
        placed.moveCenter(main->window()->frameGeometry().center());
        move(placed.topLeft());
    }
    show();
    raise();
    activateWindow();
}

void frmExpediteur::fill(const SenderIdentity &sender)
{
    const auto text = [](const std::string &value) { return QString::fromStdString(value); };
    txtNom->setText(text(sender.name));
    txtAdresse->setText(text(sender.address));
    txtCommande->setText(text(sender.command));
    const QString system = sendmailCommand(SenderIdentity{}).program;
    txtCommande->setPlaceholderText(system.isEmpty() ? QStringLiteral("aucun sendmail trouvé") : system);
    txtServeur->setText(text(sender.server));
    txtPort->setValue(AccountPort(sender));
    cboSecurite->setCurrentIndex(static_cast<int>(sender.security));
    txtIdentifiant->setText(text(AccountUser(sender)));
    txtMotDePasse->clear();
    fingerprint_ = sender.fingerprint;
    serverEdited_ = !sender.server.empty();
    userEdited_ = !sender.user.empty() && sender.user != sender.address;
    // Who set nothing yet is offered the account; who already sends through sendmail keeps it.
    const bool account = !sender.server.empty() || (sender.address.empty() && sender.command.empty());
    (account ? optCompte : optSendmail)->setChecked(true);
    fraCompte->setEnabled(account);
    fraSendmail->setEnabled(!account);
    lblTrousseau->hide();
    if (account)
        showKeyringState();
    showProviderHint();
}

SenderIdentity frmExpediteur::typed() const
{
    SenderIdentity sender{txtNom->text().simplified().toStdString(), txtAdresse->text().trimmed().toStdString(),
                          txtCommande->text().trimmed().toStdString()};
    if (optCompte->isChecked()) {
        sender.server = txtServeur->text().trimmed().toStdString();
        sender.security = static_cast<AccountSecurity>(cboSecurite->currentIndex());
        sender.port = txtPort->value();
        sender.user = txtIdentifiant->text().trimmed().toStdString();
        sender.fingerprint = fingerprint_;
    }
    return sender;
}
