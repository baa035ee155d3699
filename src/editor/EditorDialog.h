#pragma once

#include <QDialog>

// The editor's windows: no button answers Enter or Escape, and closing the
// window through its frame is its "Abandonner".
class EditorDialog : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;

protected:
    virtual void abandon() = 0;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
