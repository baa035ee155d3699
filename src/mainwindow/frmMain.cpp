#include "frmMain.h"

#include "Artwork.h"
#include "DesignFonts.h"
#include "Program.h"
#include "Twips.h"
#include "MarkedRowDelegate.h"
#include "frmMissed.h"
#include "frmSelect.h"
#ifdef TARDELLO_LINUX_MAIL
#include "LinuxMailClient.h"
#include "SentRowStates.h"
#include "frmExpediteur.h"
#endif

#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSystemTrayIcon>

namespace {

QGroupBox *frame(QWidget *parent, const QString &name, const QString &title, QRect twips)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(Twips::ofScreen().rect(twips.x(), twips.y(), twips.width(), twips.height()));
    return box;
}

} // namespace

frmMain::frmMain(Program &program, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      trayAvailable(&QSystemTrayIcon::isSystemTrayAvailable),
      program_(program), scheduler_(program)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral(" "));
    setWindowIcon(Artwork::programIcon());
    setFont(DesignFonts::arial(9.75, true));
    const Twips twips = Twips::ofScreen();
    setFixedSize(twips(11415), twips(8655));

    buildToolbar();
    buildClientChoice();
    buildLinuxSettings();
    Frame1 = frame(this, QStringLiteral("Frame1"), QStringLiteral("Mails en attente"), {90, 1305, 11250, 3645});
    lstHisto = buildList(Frame1, QStringLiteral("lstHisto"));
    lstHisto->setModel(&program_.pending.lstHisto());
    lstHisto->setProperty("Tag", QStringLiteral("histo"));
    lstHisto->setItemDelegate(new MarkedRowDelegate(lstHisto));
    scheduler_.missedMailsFound = [this](const QList<qint16> &mails) { showMissedMails(mails); };
    Frame2 = frame(this, QStringLiteral("Frame2"), QStringLiteral("Mails transmis à votre client de messagerie"),
                   {90, 4980, 11250, 3630});
    lstSent = buildList(Frame2, QStringLiteral("lstSent"));
    lstSent->setModel(&program_.lstSent);
    lstSent->setItemDelegate(new MarkedRowDelegate(lstSent));
    connect(lstHisto, &QListView::doubleClicked, this, &frmMain::lstHisto_DblClick);

    // Only the background, Frame1, Frame3 and the five buttons change the light;
    // moves over the other controls must not reach the window behind them.
    for (QWidget *still : {static_cast<QWidget *>(Frame2), Picture2, static_cast<QWidget *>(lstHisto),
                           static_cast<QWidget *>(lstSent)})
        still->setAttribute(Qt::WA_NoMousePropagation);
    hover = std::make_unique<HoverImages>(
        HoverImages::Images{cmdNew->imgOn, cmdDelete->imgOn, cmdRAZ->imgOn, cmdNet->imgOn, cmdHelp->imgOn});
    hover->watch(this, QStringLiteral("form"));
    hover->watch(Frame1, QStringLiteral("form"));
    hover->watch(Frame3, QStringLiteral("form"));
    hover->watch(cmdNew->area, QStringLiteral("new"));
    hover->watch(cmdDelete->area, QStringLiteral("del"));
    hover->watch(cmdRAZ->area, QStringLiteral("raz"));
    hover->watch(cmdNet->area, QStringLiteral("net"));
    hover->watch(cmdHelp->area, QStringLiteral("help"));

    // Key preview: the window sees each key before the control that has the focus.
    for (QWidget *control : findChildren<QWidget *>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(50000);
    connect(&Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    Timer1.start();
}

frmMain::~frmMain() = default;

void frmMain::buildToolbar()
{
    using P = Artwork::Pictogram;
    auto button = [this](int left, int width, int captionWidth, const char *caption, const char *tooltip, P picture,
                         const char *area, const char *off, const char *on, const char *image, const char *label) {
        return std::make_unique<ToolbarButton>(
            this, ToolbarButton::Design{left, width, captionWidth, QString::fromUtf8(caption), QString::fromUtf8(tooltip),
                                        picture, QString::fromLatin1(area), QString::fromLatin1(off),
                                        QString::fromLatin1(on), QString::fromLatin1(image), QString::fromLatin1(label)});
    };
    cmdNew = button(90, 1680, 1305, "Nouveau mail >>", " Rédiger un nouveau mail ", P::NewMail, "cmdNew", "imgNewOff",
                    "imgNewOn", "Image1", "Label1");
    cmdDelete = button(1905, 900, 630, "Effacer", " Effacer le mail sélectionné ", P::Delete, "cmdDelete", "imgDelOff",
                       "imgDelOn", "Image2", "Label2");
    cmdRAZ = button(2940, 900, 630, "Vider", " Vider la liste des mails déja transmis ", P::Clear, "cmdRAZ",
                    "imgRAZOff", "imgRAZOn", "Image3", "Label3");
    cmdNet = button(3975, 900, 630, "Internet", " Vsiter la page Web ", P::Web, "cmdNet", "imgNetOff", "imgNetOn",
                    "Image5", "Label5");
    cmdHelp = button(5010, 900, 630, "Aide", " Afficher l'aide ", P::Help, "cmdHelp", "imgHelpOff", "imgHelpOn",
                     "Image6", "Label6");
    connect(cmdNew->area, &ClickArea::clicked, this, &frmMain::cmdNew_Click);
    connect(cmdDelete->area, &ClickArea::clicked, this, &frmMain::cmdDelete_Click);
    connect(cmdRAZ->area, &ClickArea::clicked, this, &frmMain::cmdRAZ_Click);
    connect(cmdNet->area, &ClickArea::clicked, this, &frmMain::cmdNet_Click);
    connect(cmdHelp->area, &ClickArea::clicked, this, &frmMain::cmdHelp_Click);
}

void frmMain::buildClientChoice()
{
    Frame3 = frame(this, QStringLiteral("Frame3"), QStringLiteral("Votre client de messagerie"), {7200, 90, 4140, 1185});
    Picture2 = new QWidget(Frame3);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture2->setGeometry(Twips::ofScreen().rect(75, 255, 3885, 840));
    // One option button per mail client, in the list's order (also the tab order).
    for (const MailClientEntry &entry : mailClients) {
        const MailClientEntry::Option &design = entry.option;
        auto *button = new QRadioButton(QString::fromUtf8(design.caption), Picture2);
        button->setObjectName(QString::fromLatin1(design.name));
        button->setFont(DesignFonts::arial(8.25, false));
        button->setGeometry(Twips::ofScreen().rect(design.left, design.top, design.width, design.height));
        options_[std::size_t(entry.client)] = button;
    }
    bindClientChoice();
    explainClientChoice();
}

// On Linux the three choices take the same road; what differs is what becomes
// of a mail whose hand-over fails. The frame says so where the pointer rests,
// so that nothing in it moves.
void frmMain::explainClientChoice()
{
#ifdef TARDELLO_LINUX_MAIL
    const QString road = QStringLiteral(" Sous Linux, les trois choix envoient de la même façon : Tardello compose le "
                                        "mail, le met dans sa boîte d'envoi et le remet à sendmail (votre compte "
                                        "d'expéditeur). Ils ne diffèrent que si le mail ne peut pas être mis dans la "
                                        "boîte d'envoi. ");
    const QString dropped = QStringLiteral(" Si le mail ne peut pas être mis dans la boîte d'envoi, Tardello vous le "
                                           "dit et le mail quitte la liste des mails en attente. ");
    const QString kept = QStringLiteral(" Si le mail ne peut pas être mis dans la boîte d'envoi, il reste en attente "
                                        "et est réessayé pendant la minute, puis marqué comme manqué. ");
    Frame3->setToolTip(road);
    Picture2->setToolTip(road);
    for (const MailClientEntry &entry : mailClients) {
        switch (entry.client) {
        case MailClient::Outlook: option(entry.client)->setToolTip(road + QLatin1Char('\n') + dropped); break;
        case MailClient::Notes:
        case MailClient::Express: option(entry.client)->setToolTip(road + QLatin1Char('\n') + kept); break;
        }
    }
#endif
}

void frmMain::bindClientChoice()
{
    const auto show = [this](MailClient client) { option(client)->setChecked(true); };
    show(program_.mailClient.value());
    connect(&program_.mailClient, &MailClientChoice::changed, this, show);
    for (const MailClientEntry &entry : mailClients) {
        connect(option(entry.client), &QRadioButton::toggled, this, [this, client = entry.client](bool on) {
            if (on)
                program_.mailClient.setValue(client);
        });
    }
}

// The Linux program's own settings sit between the toolbar and the mail client
// choice; the Windows program has no such control.
void frmMain::buildLinuxSettings()
{
#ifdef TARDELLO_LINUX_MAIL
    cmdExpediteur = new QPushButton(QStringLiteral("Expéditeur..."), this);
    cmdExpediteur->setObjectName(QStringLiteral("cmdExpediteur"));
    cmdExpediteur->setFont(DesignFonts::arial(8.25, false));
    cmdExpediteur->setToolTip(QStringLiteral(" Expéditeur des mails et lancement à l'ouverture de session "));
    cmdExpediteur->setGeometry(Twips::ofScreen().rect(6000, 405, 1140, 480));
    connect(cmdExpediteur, &QPushButton::clicked, this, &frmMain::cmdExpediteur_Click);
#endif
}

void frmMain::useMailClient([[maybe_unused]] LinuxMailClient &mail)
{
#ifdef TARDELLO_LINUX_MAIL
    mail_ = &mail;
    sentStates_ = new SentRowStates(program_.lstSent, mail.watch, this);
    lstSent->setModel(sentStates_);
#endif
}

void frmMain::cmdExpediteur_Click()
{
#ifdef TARDELLO_LINUX_MAIL
    Q_ASSERT(mail_);
    if (!expediteur_)
        expediteur_ = new frmExpediteur(*mail_, program_.paths.ProgramDir, QCoreApplication::applicationFilePath(), this);
    expediteur_->open();
#endif
}

QListView *frmMain::buildList(QGroupBox *frame, const QString &name)
{
    auto *list = new QListView(frame);
    list->setObjectName(name);
    list->setFont(DesignFonts::courierNew(9));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setUniformItemSizes(true);
    list->setGeometry(Twips::ofScreen().rect(135, 300, 10965, 3210));
    return list;
}

void frmMain::showMissedMails(const QList<qint16> &mails)
{
    if (!missed_) {
        missed_ = new frmMissed(program_, this);
        missed_->sendNow = [this](const QList<qint16> &chosen) { scheduler_.SendMissedNow(chosen); };
    }
    missed_->addMails(mails);
    missed_->show();
    missed_->raise();
    missed_->setFocus();
}

void frmMain::showEvent(QShowEvent *event)
{
    if (!centred_) {
        centred_ = true;
        if (const QScreen *target = screen())
            move(target->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QWidget::showEvent(event);
}
