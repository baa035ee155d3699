#pragma once

#include <QSet>
#include <QString>

#include <functional>
#include <memory>

struct Program;
class frmMain;
class frmAbout;
class TrayIcon;

// One run of the program: its state and its windows, built and shown in a fixed order.
class Application
{
public:
    explicit Application(QString programDir);
    ~Application();

    // Creates the hidden main window (its timer starts counting), the splash,
    // the tray icon, the paths and an empty table.
    void InitApplication();
    // Settings, splash, store, then the main window. Needs InitApplication first.
    // False when the program was ended while the splash was up ("Quitter" from
    // the tray, or the session ending): the rest of start-up is skipped.
    bool run();
    // Log-off or shutdown: the program ends without writing the settings.
    void endSession();

    // The identities of the mails the mail client already holds (see
    // MailIdentity): start-up drops them from the pending mails before any
    // is offered as missed.
    std::function<QSet<QString>()> handedOver;

    Program &program() { return *program_; }
    frmMain &mainWindow() { return *main_; }
    frmAbout &about() { return *about_; }
    TrayIcon &tray() { return *tray_; }

private:
    QString programDir_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmAbout> about_;
    std::unique_ptr<TrayIcon> tray_;
};

// The toolkit's own texts (the context menus of the text fields) in French,
// from the program's "translations" directory or the toolkit's; English when neither has them.
void InstallFrenchToolkitTexts(const QString &programDir);

// The program's entry procedure: single instance, start-up, then the event loop.
int Main(int argc, char **argv);
