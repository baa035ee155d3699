#include "frmSelect.h"

#include "Program.h"

frmSelect::frmSelect(Program &program, QWidget *parent) : QDialog(parent), program_(program)
{
    setWindowTitle(QStringLiteral("Tardello - Instance de mail"));
}

void frmSelect::setFields(const EditorFields &fields)
{
    fields_ = fields;
}

EditorFields frmSelect::fields() const
{
    return fields_;
}

void frmSelect::showModal()
{
    exec();
}
