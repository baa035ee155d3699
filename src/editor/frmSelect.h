#pragma once

#include "EditorFields.h"

#include "BodyTextEdit.h"
#include "EditorDialog.h"

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class LostFocus;
class frmAttach;  // the attachment picker
class frmDest;    // the recipients picker
struct Program;

// The mail editor: one mail written and scheduled.
// Created once, then only shown and hidden; its fields keep their text until the next opening.
class frmSelect : public EditorDialog
{
    Q_OBJECT
public:
    explicit frmSelect(Program &program, QWidget *parent = nullptr);

    // The main window fills the fields before each opening.
    void setFields(const EditorFields &fields);
    // The fields' texts; the multi-line ones with CR LF line ends.
    EditorFields fields() const;
    // Shows the editor modally with the focus in the subject; returns once it is hidden again.
    void showModal();

    // The pickers, created on first use.
    frmDest *recipientsPicker();
    frmAttach *attachmentPicker();

    void txtDest_LostFocus();
    void txtCC_LostFocus();
    void txtBCC_LostFocus();
    void txtDate_LostFocus();
    void txtHeure_LostFocus();
    void cmdDest_Click();
    void cmdCC_Click();
    void cmdBCC_Click();
    void cmdAttach_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLineEdit *txtTitre = nullptr;
    BodyTextEdit *txtContenu = nullptr;
    QPlainTextEdit *txtDest = nullptr;
    QPlainTextEdit *txtCC = nullptr;
    QPlainTextEdit *txtBCC = nullptr;
    QLineEdit *txtAttach = nullptr;
    QLineEdit *txtDate = nullptr;
    QLineEdit *txtHeure = nullptr;
    QPushButton *cmdDest = nullptr;
    QPushButton *cmdCC = nullptr;
    QPushButton *cmdBCC = nullptr;
    QPushButton *cmdAttach = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void setVisible(bool visible) override;

protected:
    void abandon() override { cmdCancel_Click(); }

private:
    void buildControls();
    QPlainTextEdit *recipientField(QGroupBox *frame, QPushButton *&button);
    void normalizeRecipientField(QPlainTextEdit *field);
    void pickRecipients(qint16 target, QPlainTextEdit *field);

    Program &program_;
    LostFocus *lostFocus_ = nullptr;
    frmDest *recipientsPicker_ = nullptr;
    frmAttach *attachmentPicker_ = nullptr;
};
