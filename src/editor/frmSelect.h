#pragma once

#include "EditorFields.h"

#include <QDialog>

struct Program;

// The mail editor: one mail written and scheduled.
class frmSelect : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelect(Program &program, QWidget *parent = nullptr);

    // The main window fills the fields before each opening.
    void setFields(const EditorFields &fields);
    EditorFields fields() const;
    // Shows the editor modally; returns once it is hidden again.
    void showModal();

private:
    Program &program_;
    EditorFields fields_;
};
