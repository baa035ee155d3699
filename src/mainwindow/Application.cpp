#include "Application.h"

#include "Desktop.h"
#include "DesktopServices.h"
#include "FusionFrameStyle.h"
#include "MappedReport.h"
#include "Program.h"
#include "ProgramVersion.h"
#include "QuitSignals.h"
#include "Settings.h"
#include "SingleInstance.h"
#include "TextFiles.h"
#include "TrayIcon.h"
#include "frmAbout.h"
#include "frmMain.h"

#ifdef TARDELLO_LINUX_MAIL
#include "InstallDesktop.h"
#include "LinuxMailClient.h"
#include "RunningInstance.h"
#include "SenderFile.h"
#endif

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include <mutex>

Application::Application(QString programDir) : programDir_(std::move(programDir)) {}

Application::~Application()
{
    // The tray refers to the main window; the main window to the program.
    tray_.reset();
    about_.reset();
    main_.reset();
}

void Application::InitApplication()
{
    // The paths are formed here, with the program's state; nothing reads a file yet.
    program_ = std::make_unique<Program>(programDir_);
    main_ = std::make_unique<frmMain>(*program_);
    main_->setWindowTitle(QStringLiteral("Tardello - " TARDELLO_VERSION_TEXT));
    about_ = std::make_unique<frmAbout>();
    about_->lblVers->setText(QStringLiteral(TARDELLO_VERSION_TEXT));
    tray_ = std::make_unique<TrayIcon>(*program_, *main_);
    tray_->AddTrayIcon();
    program_->pending.clear();
}

namespace {
// Runs a task once, right after the window's first expose has been handled:
// the window is on screen then.
class AfterFirstExpose : public QObject
{
public:
    // Owned by the window.
    static void run(QWindow &window, std::function<void()> task) { new AfterFirstExpose(window, std::move(task)); }

private:
    AfterFirstExpose(QWindow &window, std::function<void()> task) : QObject(&window), task_(std::move(task))
    {
        window.installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                task_();
                deleteLater();
            });
        }
        return false;
    }

    std::function<void()> task_;
};
} // namespace

bool Application::run()
{
    // The lock is held: no other run is in the middle of a save.
    desktop().files->removeUnfinishedWrites(program_->paths.SettingsPath, {});
    program_->pending.store().removeUnfinishedSaves();
    LoadSettings(program_->paths.SettingsPath, program_->mailClient, program_->AddressBook);
    about_->showModal();
    // Ending the program leaves the splash's event loop; the main loop has not started yet.
    if (tray_->ended())
        return false;
    program_->pending.load();
    // A run ended between the hand-over and the save that forgets the mail.
    if (handedOver)
        program_->pending.dropHandedOver(handedOver());
    ReportWhenMapped(*main_);
    main_->show();
    // The bodies' megabytes are read once the window and its rows are on screen.
    AfterFirstExpose::run(*main_->windowHandle(), [this] { program_->pending.readBodies(); });
    main_->FindMissedMails();
    tray_->startupDone = true;
    return true;
}

void Application::endSession()
{
    tray_->endSession();
}

namespace {
// Read at the first text asked of it, which start-up never does: the file is
// not mapped until a menu or a box needs it. Empty until then, so installing
// it does not make the application ask for a text at once.
class FrenchToolkitTexts : public QTranslator
{
public:
    explicit FrenchToolkitTexts(QString directory) : directory_(std::move(directory)) {}
    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        // A file gone meanwhile leaves the texts in English.
        std::call_once(loaded_, [this] { (void)const_cast<FrenchToolkitTexts *>(this)->load(FileName, directory_); });
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
    static inline const QString FileName = QStringLiteral("qtbase_fr");

private:
    QString directory_;
    mutable std::once_flag loaded_;
};
} // namespace

void InstallFrenchToolkitTexts(const QString &programDir)
{
    static std::unique_ptr<FrenchToolkitTexts> french;
    if (french)
        return;
    for (const QString &dir : {programDir + QStringLiteral("/translations"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)}) {
        if (QFile::exists(dir + QLatin1Char('/') + FrenchToolkitTexts::FileName + QStringLiteral(".qm"))) {
            french = std::make_unique<FrenchToolkitTexts>(dir);
            QCoreApplication::installTranslator(french.get());
            return;
        }
    }
}

int Main(int argc, char **argv)
{
#ifdef TARDELLO_LINUX_MAIL
    if (const std::optional<int> code = RunDesktopCommand(argc, argv))
        return *code;
#endif
    QApplication app(argc, argv);
    // The program lives on in the tray while no window is shown.
    app.setQuitOnLastWindowClosed(false);
    UseFusionFrameStyle();
    const QString programDir = QCoreApplication::applicationDirPath();
    SingleInstance instance(programDir);
    if (!instance.tryLock()) {
#ifdef TARDELLO_LINUX_MAIL
        RunningInstance::askToShow(QDBusConnection::sessionBus(), programDir);
#endif
        return 0;
    }
    InstallFrenchToolkitTexts(programDir);

    DesktopServices services(programDir);
    services.install();
    Application tardello(programDir);
    tardello.InitApplication();
    services.notifier.setTrayIcon(&tardello.tray().icon());
#ifdef TARDELLO_LINUX_MAIL
    // A second start asks this one, by the directory's name on the session bus, to show itself.
    RunningInstance running(QDBusConnection::sessionBus(), programDir);
    QObject::connect(&running, &RunningInstance::showRequested, &tardello.tray(), &TrayIcon::mnuTardello_Click);
    running.publish();
    desktop().files->removeUnfinishedWrites(SenderFilePath(programDir), {});
    services.linuxMail->setSender(LoadSender(SenderFilePath(programDir)));
    tardello.mainWindow().useMailClient(*services.linuxMail);
    tardello.tray().confirmedQuit = [&services] { services.linuxMail->watch.tellWaitingAtQuit(); };
#endif
#ifdef TARDELLO_LINUX_MAIL
    // A mail is pending or in the outbox, never both: the message carries its
    // mail's identity, and a message sendmail took is kept until the store
    // no longer lists its mail.
    LinuxMailClient &mail = *services.linuxMail;
    MailStore &store = tardello.program().pending.store();
    tardello.handedOver = [&mail] { return mail.outbox.handedOver(); };
    tardello.mainWindow().scheduler().handingOver = [&mail](const QString &identity) {
        mail.outbox.setHandOverIdentity(identity);
    };
    store.saved = [&mail] { mail.outbox.forgetSubmitted(); };
    mail.submitter.storeBehind = [&store] { return store.behind(); };
#endif
    // Whatever ends the run, the same way out below.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&tardello] { tardello.endSession(); });
    QuitSignals quitSignals([&tardello] { tardello.endSession(); });
    if (!tardello.run())
        return 0;
#ifdef TARDELLO_LINUX_MAIL
    if (!store.behind())
        mail.outbox.forgetSubmitted();
#endif
    services.startMailClient();
    const int code = app.exec();
    // sendmail's outcome first, then the store, which may still list a mail handed over.
    services.stopMailClient();
    tardello.program().pending.saveIfBehind();
    return code;
}
