#pragma once

#include "MessageBox.h"

class QWidget;

// Message boxes of the desktop, modal for show(), non-modal for notifyError().
class QtMessageBox : public MessageBox, public Notifier
{
public:
    MsgBox::Answer show(const QString &prompt, MsgBox::Buttons buttons, const QString &title) override;
    void notifyError(const QString &title, const QString &text) override;
    void notifyInfo(const QString &title, const QString &text) override;

private:
    static void showNonModal(int icon, const QString &title, const QString &text);
};
