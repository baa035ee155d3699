#pragma once

#include "SenderTest.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The sender settings of the Linux program: sender, sendmail command, start at login.
class frmExpediteur : public QWidget
{
    Q_OBJECT
public:
    // programPath: the program that the start-at-login entry starts.
    frmExpediteur(QString programDir, QString programPath, QWidget *parent = nullptr);

    // Fills the fields from the current identity and the start-at-login entry, then shows the window.
    void open();
    void cmdTester_Click();
    // Saves and applies; the window stays open when something could not be.
    void cmdConfirmer_Click();
    void cmdAbandonner_Click();

    QLineEdit *txtNom = nullptr;
    QLineEdit *txtAdresse = nullptr;
    QLineEdit *txtCommande = nullptr;
    QCheckBox *chkDemarrage = nullptr;
    QPushButton *cmdTester = nullptr;
    QLabel *lblResultat = nullptr;
    QPushButton *cmdConfirmer = nullptr;
    QPushButton *cmdAbandonner = nullptr;
    SenderTest test;

private:
    SenderIdentity typed() const;

    QString programDir_;
    QString programPath_;
};
