#pragma once

#include "HoverImages.h"
#include "MailClients.h"
#include "Scheduler.h"
#include "ToolbarButton.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>

class QGroupBox;
class QListView;
class QPushButton;
class QRadioButton;
class frmExpediteur;  // the sender settings (Linux)
class frmMissed;      // the mails whose minute passed unsent
class frmSelect;      // the mail editor
class LinuxMailClient;  // the outbox and the sender (Linux)
class SentRowStates;
struct EditorFields;
struct Program;

// The main window: the pending and transmitted mails, the mail client choice, the toolbar.
// Closing it only hides it; the program lives on in the tray.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    // The product's web page.
    static const QString WebPage;

    explicit frmMain(Program &program, QWidget *parent = nullptr);
    ~frmMain() override;

    // The editor is created the first time it is needed.
    frmSelect &editor();
    bool editorVisible() const;

    // Row index of the selected pending mail, -1 when none.
    int lstHistoListIndex() const;

    void cmdNew_Click();
    void cmdDelete_Click();
    void cmdRAZ_Click();
    void cmdNet_Click();
    void cmdHelp_Click();
    void lstHisto_DblClick();
    void Form_KeyPress(int KeyAscii);
    // Why the window is about to close, by the desktop's codes.
    enum class CloseReason : int { UserClose = 0, ProgramCode = 1, SessionEnds = 2 };
    // True when the close is cancelled.
    bool Form_QueryUnload(CloseReason UnloadMode);
    void Timer1_Timer();
    // Linux only: opens the sender settings window.
    void cmdExpediteur_Click();
    frmExpediteur *expediteur() const { return expediteur_; }
    // At start-up, once the store is read: mails whose minute passed while the program was stopped.
    void FindMissedMails() { scheduler_.FindMissedMails(); }
    Scheduler &scheduler() { return scheduler_; }
    // Created the first time a missed mail is found.
    frmMissed *missedWindow() const { return missed_; }
    // Linux: the mail client whose sender the sender window sets; each transmitted
    // mail's row shows where its message is, as the outbox changes.
    void useMailClient(LinuxMailClient &mail);

    // Without a notification area a hidden window could not be brought back,
    // so closing minimises it then. Tests replace the question.
    std::function<bool()> trayAvailable;

    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QWidget *Picture2 = nullptr;
    // The mail client's option button ("optOutlook", "optNotes", "optExpress").
    QRadioButton *option(MailClient client) const { return options_[std::size_t(client)]; }
    QListView *lstHisto = nullptr;
    QListView *lstSent = nullptr;
    QPushButton *cmdExpediteur = nullptr;  // Linux only
    QTimer Timer1;
    std::unique_ptr<ToolbarButton> cmdNew, cmdDelete, cmdRAZ, cmdNet, cmdHelp;
    std::unique_ptr<HoverImages> hover;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildToolbar();
    void buildClientChoice();
    void buildLinuxSettings();
    void explainClientChoice();
    QListView *buildList(QGroupBox *frame, const QString &name);
    void bindClientChoice();
    void openEditor(qint16 slot, qint16 row, const EditorFields &fields);

    Program &program_;
    Scheduler scheduler_;
    std::array<QRadioButton *, mailClients.size()> options_{};
    void showMissedMails(const QList<qint16> &mails);

    frmSelect *editor_ = nullptr;
    frmExpediteur *expediteur_ = nullptr;
    LinuxMailClient *mail_ = nullptr;
    frmMissed *missed_ = nullptr;
    SentRowStates *sentStates_ = nullptr;
    bool centred_ = false;
};
