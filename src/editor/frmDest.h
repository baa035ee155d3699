#pragma once

#include "ListRows.h"

#include "EditorDialog.h"
#include <array>

class QListView;
class QPlainTextEdit;
class QPushButton;
struct Program;

// The recipients picker: addresses chosen from the address book for To, CC or BCC.
// The address book on the left (the program's one AddressBook, shown, not copied), the
// recipients chosen this time on the right; "Terminé" appends them to the editor field
// named by RecipientTarget.
class frmDest : public EditorDialog
{
    Q_OBJECT
public:
    // targets: the editor's To, CC and BCC fields (RecipientTarget 1, 2, 3).
    frmDest(Program &program, std::array<QPlainTextEdit *, 3> targets, QWidget *parent = nullptr);

    void clearChosen() { chosen_.Clear(); }
    const ListRows &chosen() const { return chosen_; }
    // Shows the picker modally; returns once it is hidden again.
    void showModal();

    void lstDest_DblClick();
    void cmdTo_Click() { lstDest_DblClick(); }
    void cmdClose_Click();
    void cmdAbandon_Click();

    QListView *lstDest = nullptr;
    QListView *lstTo = nullptr;
    QPushButton *cmdTo = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdAbandon = nullptr;

protected:
    // Key preview: Enter and Delete are seen before the focused control.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void abandon() override { cmdAbandon_Click(); }

private:
    void Form_KeyPress(int keyAscii);
    void Form_KeyDown(int keyCode);
    QString focusedTag() const;

    Program &program_;
    std::array<QPlainTextEdit *, 3> targets_;
    ListRows chosen_;
};
