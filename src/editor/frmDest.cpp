#include "frmDest.h"

#include "Program.h"
#include "RecipientLists.h"
#include "Twips.h"
#include "TypedText.h"

#include <QKeyEvent>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

const char TagProperty[] = "Tag";

QListView *listBox(QAbstractItemModel *rows, const char *tag, QWidget *parent)
{
    auto *list = new QListView(parent);
    list->setModel(rows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setProperty(TagProperty, QString::fromLatin1(tag));
    return list;
}

QPushButton *button(const QString &text, QWidget *parent)
{
    auto *result = new QPushButton(text, parent);
    result->setAutoDefault(false);
    return result;
}

// The selected row of a single-selection list, or -1.
int selectedRow(const QListView *list)
{
    const QModelIndexList rows = list->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

frmDest::frmDest(Program &program, std::array<QPlainTextEdit *, 3> targets, QWidget *parent)
    : EditorDialog(parent), program_(program), targets_(targets)
{
    setWindowTitle(QStringLiteral("Tardello - Sélection des destinataires"));
    const Twips tw = Twips::ofScreen();
    setFixedSize(tw.size(10140, 4890));

    lstDest = listBox(&program_.AddressBook, "dest", this);
    lstDest->setGeometry(tw.rect(75, 90, 4005, 4740));
    cmdTo = button(QStringLiteral(">>"), this);
    cmdTo->setGeometry(tw.rect(4275, 765, 1620, 450));
    lstTo = listBox(&chosen_, "to", this);
    lstTo->setGeometry(tw.rect(6075, 90, 4005, 4740));
    cmdClose = button(QStringLiteral("Terminé"), this);
    cmdClose->setGeometry(tw.rect(4275, 3720, 1620, 450));
    cmdAbandon = button(QStringLiteral("Abandonner"), this);
    cmdAbandon->setGeometry(tw.rect(4275, 4275, 1620, 450));

    setTabOrder(lstDest, cmdTo);
    setTabOrder(cmdTo, lstTo);
    setTabOrder(lstTo, cmdClose);
    setTabOrder(cmdClose, cmdAbandon);
    for (QWidget *control : {static_cast<QWidget *>(lstDest), static_cast<QWidget *>(cmdTo), static_cast<QWidget *>(lstTo),
                             static_cast<QWidget *>(cmdClose), static_cast<QWidget *>(cmdAbandon)})
        control->installEventFilter(this);
    lstDest->setFocus();

    connect(lstDest, &QListView::doubleClicked, this, &frmDest::lstDest_DblClick);
    connect(cmdTo, &QPushButton::clicked, this, &frmDest::cmdTo_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDest::cmdClose_Click);
    connect(cmdAbandon, &QPushButton::clicked, this, &frmDest::cmdAbandon_Click);
}

void frmDest::showModal()
{
    exec();
}

void frmDest::lstDest_DblClick()
{
    const int row = selectedRow(lstDest);
    if (row >= 0)
        InsertSortedUnique(chosen_, program_.AddressBook.List(row));
}

void frmDest::cmdClose_Click()
{
    const qint16 target = program_.RecipientTarget;
    if (chosen_.ListCount() > 0 && target >= 1 && target <= 3) {
        QString appended;
        for (int row = 0; row < chosen_.ListCount(); ++row)
            appended += QLatin1Char(';') + chosen_.List(row);
        QPlainTextEdit *field = targets_[target - 1];
        field->setPlainText(TypedText(*field) + appended);
    }
    lstDest->setFocus();
    hide();
}

void frmDest::cmdAbandon_Click()
{
    lstDest->setFocus();
    hide();
}

QString frmDest::focusedTag() const
{
    const QWidget *focused = focusWidget();
    return focused ? focused->property(TagProperty).toString() : QString();
}

void frmDest::Form_KeyPress(int keyAscii)
{
    if (keyAscii == 13 && focusedTag() == QStringLiteral("dest"))
        lstDest_DblClick();
}

void frmDest::Form_KeyDown(int keyCode)
{
    if (keyCode != 46)
        return;
    const QString tag = focusedTag();
    if (tag == QStringLiteral("dest")) {
        const int row = selectedRow(lstDest);
        if (row >= 0)
            program_.AddressBook.RemoveItem(row);
    } else if (tag == QStringLiteral("to")) {
        const int row = selectedRow(lstTo);
        if (row >= 0)
            chosen_.RemoveItem(row);
    }
}

bool frmDest::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Form_KeyPress(13);
            return true;
        }
        if (key == Qt::Key_Delete) {
            Form_KeyDown(46);
            return true;
        }
    }
    return EditorDialog::eventFilter(watched, event);
}

