#pragma once

#include "EditorDialog.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class DirectoryList;
class LostFocus;

// The attachment picker: the one file attached to the mail.
// Drive, directory and file lists that follow one another; "Terminé" copies the path of
// the file last clicked into the editor's attachment field. Created once, so it keeps its
// place between uses.
class frmAttach : public EditorDialog
{
    Q_OBJECT
public:
    explicit frmAttach(QLineEdit *editorAttach, QWidget *parent = nullptr);

    // Shows the picker modally; returns once it is hidden again.
    void showModal();

    // The drives offered: the file-system roots and the mounted volumes.
    static QStringList drives();

    void drvList_Change();
    void dirList_Change();
    void dirList_Click();
    void dirList_LostFocus();
    void flList_Click();
    void cmdClose_Click();
    void cmdAbandon_Click();

    QComboBox *drvList = nullptr;
    DirectoryList *dirList = nullptr;
    QListWidget *flList = nullptr;
    QLineEdit *txtAttach = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdAbandon = nullptr;

protected:
    void abandon() override { cmdAbandon_Click(); }

private:
    void showFilesOf(const QString &directory);
    void selectDriveOf(const QString &path);

    QLineEdit *editorAttach_;
    QString shownDirectory_;  // whose files flList shows
    QStringList shownFiles_;
    LostFocus *lostFocus_ = nullptr;
};
