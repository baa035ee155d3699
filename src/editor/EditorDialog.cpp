#include "EditorDialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

void EditorDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void EditorDialog::closeEvent(QCloseEvent *event)
{
    if (isVisible())
        abandon();
    event->accept();
}
