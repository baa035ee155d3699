#include "QtMessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>

MsgBox::Answer QtMessageBox::show(const QString &prompt, MsgBox::Buttons buttons, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(prompt);
    if (buttons & MsgBox::Critical)
        box.setIcon(QMessageBox::Critical);
    if (MsgBox::buttonSet(buttons) == MsgBox::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // The program speaks French whatever the toolkit's own language.
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int answer = box.exec();
    if (answer == QMessageBox::Yes)
        return MsgBox::Yes;
    if (answer == QMessageBox::No)
        return MsgBox::No;
    return MsgBox::Ok;
}

void QtMessageBox::notifyError(const QString &title, const QString &text)
{
    showNonModal(QMessageBox::Critical, title, text);
}

void QtMessageBox::notifyInfo(const QString &title, const QString &text)
{
    showNonModal(QMessageBox::Information, title, text);
}

void QtMessageBox::showNonModal(int icon, const QString &title, const QString &text)
{
    auto *box = new QMessageBox(QMessageBox::Icon(icon), title, text, QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}
