#include "TrayIcon.h"

#include "Artwork.h"
#include "Desktop.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Program.h"
#include "ProgramVersion.h"
#include "Settings.h"
#include "X11TrayClicks.h"
#include "frmMain.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QCursor>
#include <QMenu>

TrayIcon::TrayIcon(Program &program, frmMain &mainWindow, QObject *parent)
    : QObject(parent), program_(program), mainWindow_(mainWindow), icon_(std::make_unique<QSystemTrayIcon>()),
      menu_(std::make_unique<QMenu>(QStringLiteral("Menu Déroulant")))
{
    icon_->setIcon(Artwork::programIcon());
    icon_->setToolTip(QStringLiteral(" Tardello " TARDELLO_VERSION_TEXT " "));
    mnuTardello_ = menu_->addAction(QStringLiteral("Montrer Tardello"), this, &TrayIcon::mnuTardello_Click);
    mnuHardQuit_ = menu_->addAction(QStringLiteral("Quitter"), this, &TrayIcon::mnuHardQuit_Click);
    QFont bold = mnuTardello_->font();
    bold.setBold(true);
    mnuTardello_->setFont(bold);
    menu_->setDefaultAction(mnuTardello_);

    // The menu is not attached to the icon (setContextMenu) so that a right
    // click goes through Picture1_MouseMove and its TrayBusy guard like every other event.
    popupMenu = [this] { menu_->exec(QCursor::pos(), mnuTardello_); };
    endProgram = [] { QCoreApplication::exit(0); };
    // Queued: the commands (menu, quit question, removing the icon) must not
    // run inside the icon's own mouse handler, which removing the icon deletes.
    connect(
        icon_.get(), &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) { Picture1_MouseMove(trayEvent(reason)); },
        Qt::QueuedConnection);
    if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
        x11Clicks_ = std::make_unique<X11TrayClicks>([this](TrayEvent code) {
            QMetaObject::invokeMethod(this, [this, code] { Picture1_MouseMove(code); }, Qt::QueuedConnection);
        });
        QCoreApplication::instance()->installNativeEventFilter(x11Clicks_.get());
    }
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::AddTrayIcon()
{
    icon_->show();
}

void TrayIcon::RemoveTrayIcon()
{
    icon_->hide();
}

void TrayIcon::Picture1_MouseMove(TrayEvent code)
{
    if (trayBusy_)
        return;
    trayBusy_ = true;
    switch (code) {
    case TrayEvent::LeftUp:
    case TrayEvent::LeftDoubleClick:
    case TrayEvent::RightDoubleClick:
        mnuTardello_Click();
        break;
    case TrayEvent::RightUp:
        popupMenu();
        break;
    default:
        break;
    }
    trayBusy_ = false;
}

void TrayIcon::mnuTardello_Click()
{
    if (!startupDone || mainWindow_.editorVisible())
        return;
    if (mainWindow_.isMinimized())
        mainWindow_.showNormal();
    mainWindow_.show();
    mainWindow_.raise();
    mainWindow_.activateWindow();
}

void TrayIcon::mnuHardQuit_Click()
{
    const MsgBox::Answer answer = desktop().messageBox->show(
        MessageTexts::padded({QStringLiteral("Quitter Tardello ?"), QStringLiteral("Vos données ne seront pas perdues.")}),
        MsgBox::YesNo, MessageTexts::Title);
    if (answer != MsgBox::Yes)
        return;
    RemoveTrayIcon();
    SaveSettings(program_.paths.SettingsPath, program_.mailClient, program_.AddressBook);
    if (confirmedQuit)
        confirmedQuit();
    ended_ = true;
    endProgram();
}

void TrayIcon::endSession()
{
    ended_ = true;
    endProgram();
}
