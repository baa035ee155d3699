#pragma once

#include <QDialog>
#include <QTimer>

class QLabel;

// The splash window shown during start-up, with the version.
// Borderless, white, on top of everything; only its timer closes it.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // Starts Timer1 and shows the window modally; returns once the timer has hidden it.
    void showModal();

    QLabel *lblVers = nullptr;
    QTimer Timer1;  // 3000 ms, idle until showModal()

public slots:
    void reject() override {}  // Escape must not close the splash

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Timer1_Timer();
};
