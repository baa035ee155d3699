// The main window's command handlers.
#include "frmMain.h"

#include "Clock.h"
#include "DateText.h"
#include "Desktop.h"
#include "EditorFields.h"
#include "HelpDocument.h"
#include "MessageBox.h"
#include "MessageTexts.h"
#include "Program.h"
#include "ShellOpener.h"
#include "frmSelect.h"
#ifdef TARDELLO_LINUX_MAIL
#include "SentRowStates.h"
#endif

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>

const QString frmMain::WebPage = QStringLiteral("https://www.tardello.fr/quando.php");

frmSelect &frmMain::editor()
{
    if (!editor_)
        editor_ = new frmSelect(program_, this);
    return *editor_;
}

bool frmMain::editorVisible() const
{
    return editor_ && editor_->isVisible();
}

int frmMain::lstHistoListIndex() const
{
    const QModelIndexList selected = lstHisto->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void frmMain::openEditor(qint16 slot, qint16 row, const EditorFields &fields)
{
    program_.EditRow = row;
    program_.EditSlot = slot;
    frmSelect &window = editor();
    window.setFields(fields);
    window.showModal();
}

void frmMain::cmdNew_Click()
{
    EditorFields fresh;
    fresh.txtDate = DateText::formatDate(desktop().clock->now().date());
    program_.EditRow = -1;
    const qint16 slot = program_.pending.table().FindFreeSlot();
    if (slot == 0) {
        desktop().messageBox->show(MessageTexts::TableFull, MsgBox::Critical, MessageTexts::ErrorTitle);
        return;
    }
    openEditor(slot, -1, fresh);
}

void frmMain::lstHisto_DblClick()
{
    const int row = lstHistoListIndex();
    if (row < 0)
        return;
    const qint16 slot = program_.pending.slotOfRow(row);
    openEditor(slot, qint16(row), EditorFieldsOf(program_.pending[slot]));
}

void frmMain::cmdDelete_Click()
{
    const int row = lstHistoListIndex();
    if (row < 0)
        return;
    const qint16 slot = program_.pending.slotOfRow(row);
    const MsgBox::Answer answer = desktop().messageBox->show(
        MessageTexts::padded(QStringLiteral("Supprimer définitivement ce mail ?")), MsgBox::YesNo, MessageTexts::Title);
    if (answer != MsgBox::Yes)
        return;
    // The scheduler may have sent this very mail while the question was open,
    // and the selection moved to another one: only the mail asked about goes.
    if (program_.pending.rowOfSlot(slot) < 0)
        return;
    program_.pending.release(slot);
}

void frmMain::cmdRAZ_Click()
{
#ifdef TARDELLO_LINUX_MAIL
    if (sentStates_) {
        sentStates_->clearGone();
        return;
    }
#endif
    program_.lstSent.Clear();
}

void frmMain::cmdNet_Click()
{
    desktop().shell->open(WebPage, program_.paths.ProgramDir, {});
}

void frmMain::cmdHelp_Click()
{
    HelpDocument::open(program_.paths.HelpPath, program_.paths.ProgramDir, this);
}

void frmMain::Form_KeyPress(int KeyAscii)
{
    const QWidget *active = focusWidget();
    if (KeyAscii == 13 && active && active->property("Tag").toString() == QStringLiteral("histo"))
        lstHisto_DblClick();
}

bool frmMain::Form_QueryUnload(CloseReason UnloadMode)
{
    if (UnloadMode != CloseReason::UserClose)
        return false;
    if (trayAvailable())
        hide();
    else
        showMinimized();
    return true;
}

void frmMain::Timer1_Timer()
{
    scheduler_.SendDueMail();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QString text = key->text();
        if (enter || !text.isEmpty())
            Form_KeyPress(enter ? 13 : text.at(0).unicode());
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    const CloseReason reason = qApp->isSavingSession() ? CloseReason::SessionEnds
                               : event->spontaneous()   ? CloseReason::UserClose
                                                        : CloseReason::ProgramCode;
    if (Form_QueryUnload(reason))
        event->ignore();
    else
        event->accept();
}
