#include "frmSelect.h"

#include "BodyTextEdit.h"

#include "Clock.h"
#include "ConfirmMail.h"
#include "Desktop.h"
#include "LostFocus.h"
#include "Program.h"
#include "RecipientLists.h"
#include "SendTimeFields.h"
#include "Twips.h"
#include "TypedText.h"
#include "frmAttach.h"
#include "frmDest.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <limits>

namespace {

// The mail keeps CR LF line ends; the text widgets use "\n".
QString toCrLf(const QString &text)
{
    QString result = text;
    return result.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString fromCrLf(const QString &text)
{
    QString result = text;
    return result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void useTooltipBackground(QWidget *field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::ToolTipText));
    field->setPalette(palette);
}

QPushButton *button(const QString &text, QWidget *parent)
{
    auto *result = new QPushButton(text, parent);
    result->setAutoDefault(false);
    result->setDefault(false);
    return result;
}

QPushButton *ellipsisButton(QWidget *parent)
{
    QPushButton *result = button(QStringLiteral("..."), parent);
    result->setFont(QFont(QStringLiteral("MS Sans Serif"), 12, QFont::Bold));
    return result;
}

// A label drawn without a size takes the size of its text.
QLabel *label(const QString &text, QWidget *parent, QRect geometry)
{
    auto *result = new QLabel(text, parent);
    if (geometry.isEmpty())
        geometry.setSize(result->sizeHint());
    result->setGeometry(geometry);
    return result;
}

// A font wider than the designed one must not let the field to the right
// cover the end of the label's text: the label moves left as far as needed.
void keepClearOf(QLabel *label, const QWidget *field)
{
    const int overrun = label->x() + label->sizeHint().width() - (field->x() - 3);
    if (overrun > 0)
        label->move(std::max(0, label->x() - overrun), label->y());
}

// A field with the label that names it on its left.
template <typename Field>
Field *labelledField(const QString &text, QWidget *parent, QRect labelGeometry, QRect fieldGeometry)
{
    QLabel *name = label(text, parent, labelGeometry);
    auto *field = new Field(parent);
    field->setGeometry(fieldGeometry);
    keepClearOf(name, field);
    return field;
}

} // namespace

frmSelect::frmSelect(Program &program, QWidget *parent) : EditorDialog(parent), program_(program)
{
    setWindowTitle(QStringLiteral("Tardello - Instance de mail"));
    lostFocus_ = new LostFocus(this);
    buildControls();

    lostFocus_->watch(txtDest, [this] { txtDest_LostFocus(); });
    lostFocus_->watch(txtCC, [this] { txtCC_LostFocus(); });
    lostFocus_->watch(txtBCC, [this] { txtBCC_LostFocus(); });
    lostFocus_->watch(txtDate, [this] { txtDate_LostFocus(); });
    lostFocus_->watch(txtHeure, [this] { txtHeure_LostFocus(); });
    connect(cmdDest, &QPushButton::clicked, this, &frmSelect::cmdDest_Click);
    connect(cmdCC, &QPushButton::clicked, this, &frmSelect::cmdCC_Click);
    connect(cmdBCC, &QPushButton::clicked, this, &frmSelect::cmdBCC_Click);
    connect(cmdAttach, &QPushButton::clicked, this, &frmSelect::cmdAttach_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSelect::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelect::cmdCancel_Click);
}

void frmSelect::buildControls()
{
    const Twips tw = Twips::ofScreen();
    setFixedSize(tw.size(10575, 7965));

    auto *mailFrame = new QGroupBox(QStringLiteral(" Mail "), this);
    mailFrame->setGeometry(tw.rect(90, 15, 10410, 3345));
    txtTitre = labelledField<QLineEdit>(QStringLiteral("Objet :"), mailFrame, tw.rect(255, 300, 1605, 285),
                                        tw.rect(945, 285, 9315, 300));
    txtContenu = labelledField<BodyTextEdit>(QStringLiteral("Texte :"), mailFrame, tw.rect(240, 675, 1605, 285),
                                             tw.rect(945, 660, 9315, 2565));
    txtContenu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtContenu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtContenu->setTabChangesFocus(true);

    auto frame = [&](const QString &title, QRect geometry) {
        auto *result = new QGroupBox(title, this);
        result->setGeometry(geometry);
        return result;
    };
    txtDest = recipientField(frame(QStringLiteral(" A : ( destinataires séparés par ; )"), tw.rect(90, 3390, 10425, 900)), cmdDest);
    txtCC = recipientField(frame(QStringLiteral(" Copie à : ( destinataires séparés par ; )"), tw.rect(90, 4365, 10425, 900)), cmdCC);
    txtBCC = recipientField(frame(QStringLiteral(" Copie cachée à : ( destinataires séparés par ; )"), tw.rect(90, 5355, 10425, 900)), cmdBCC);

    QGroupBox *attachFrame = frame(QStringLiteral(" Pièce jointe "), tw.rect(90, 6345, 10410, 765));
    txtAttach = new QLineEdit(attachFrame);
    txtAttach->setGeometry(tw.rect(195, 285, 8670, 300));
    cmdAttach = ellipsisButton(attachFrame);
    cmdAttach->setGeometry(tw.rect(9052, 278, 1200, 315));

    QGroupBox *timingFrame = frame(QStringLiteral(" Timing "), tw.rect(90, 7140, 5685, 690));
    txtDate = labelledField<QLineEdit>(QStringLiteral("A envoyer le :"), timingFrame, tw.rect(315, 300, 0, 0),
                                       tw.rect(1470, 270, 1680, 300));
    txtHeure = labelledField<QLineEdit>(QStringLiteral("A :"), timingFrame, tw.rect(3435, 300, 0, 0),
                                        tw.rect(3780, 270, 1680, 300));

    cmdOK = button(QStringLiteral("Confirmer"), this);
    cmdOK->setGeometry(tw.rect(6780, 7275, 1770, 495));
    cmdCancel = button(QStringLiteral("Abandonner"), this);
    cmdCancel->setGeometry(tw.rect(8640, 7275, 1770, 495));

    const std::pair<QWidget *, const char *> names[]{
        {txtTitre, "txtTitre"}, {txtContenu, "txtContenu"}, {txtDest, "txtDest"}, {txtCC, "txtCC"},
        {txtBCC, "txtBCC"}, {txtAttach, "txtAttach"}, {txtDate, "txtDate"}, {txtHeure, "txtHeure"},
        {cmdDest, "cmdDest"}, {cmdCC, "cmdCC"}, {cmdBCC, "cmdBCC"}, {cmdAttach, "cmdAttach"},
        {cmdOK, "cmdOK"}, {cmdCancel, "cmdCancel"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QString::fromLatin1(name));

    for (QWidget *field : {static_cast<QWidget *>(txtDest), static_cast<QWidget *>(txtDate), static_cast<QWidget *>(txtHeure)})
        useTooltipBackground(field);
    // No field has a length limit of its own: a stored subject or path comes back whole.
    for (QLineEdit *field : {txtTitre, txtAttach, txtDate, txtHeure})
        field->setMaxLength(std::numeric_limits<int>::max());

    const QList<QWidget *> tabOrder{txtTitre, txtContenu, txtDest, cmdDest, txtCC, cmdCC, txtBCC,
                                    cmdBCC, txtAttach, cmdAttach, txtDate, txtHeure, cmdOK, cmdCancel};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QPlainTextEdit *frmSelect::recipientField(QGroupBox *frame, QPushButton *&button)
{
    const Twips tw = Twips::ofScreen();
    auto *field = new QPlainTextEdit(frame);
    field->setGeometry(tw.rect(180, 270, 8685, 510));
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setTabChangesFocus(true);
    // A borderless holder keeps the button's place as drawn.
    auto *holder = new QWidget(frame);
    holder->setGeometry(tw.rect(8985, 210, 1335, 615));
    button = ellipsisButton(holder);
    button->setGeometry(tw.rect(67, 150, 1200, 315));
    return field;
}

void frmSelect::setFields(const EditorFields &fields)
{
    txtTitre->setText(fields.txtTitre);
    txtContenu->setBody(fromCrLf(fields.txtContenu));
    txtDest->setPlainText(fromCrLf(fields.txtDest));
    txtCC->setPlainText(fromCrLf(fields.txtCC));
    txtBCC->setPlainText(fromCrLf(fields.txtBCC));
    txtAttach->setText(fields.txtAttach);
    txtDate->setText(fields.txtDate);
    txtHeure->setText(fields.txtHeure);
}

EditorFields frmSelect::fields() const
{
    EditorFields fields;
    fields.txtTitre = txtTitre->text();
    fields.txtContenu = toCrLf(txtContenu->body());
    fields.txtDest = toCrLf(TypedText(*txtDest));
    fields.txtCC = toCrLf(TypedText(*txtCC));
    fields.txtBCC = toCrLf(TypedText(*txtBCC));
    fields.txtAttach = txtAttach->text();
    fields.txtDate = txtDate->text();
    fields.txtHeure = txtHeure->text();
    return fields;
}

void frmSelect::showModal()
{
    if (const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    txtTitre->setFocus(Qt::OtherFocusReason);
    exec();
}

// Showing a dialog gives its focus field a tab focus, which selects a line
// edit's whole text: the first key typed would replace the subject.
void frmSelect::setVisible(bool visible)
{
    EditorDialog::setVisible(visible);
    if (visible && focusWidget() == txtTitre) {
        txtTitre->deselect();
        txtTitre->end(false);
    }
}

frmDest *frmSelect::recipientsPicker()
{
    if (!recipientsPicker_)
        recipientsPicker_ = new frmDest(program_, {txtDest, txtCC, txtBCC}, this);
    return recipientsPicker_;
}

frmAttach *frmSelect::attachmentPicker()
{
    if (!attachmentPicker_)
        attachmentPicker_ = new frmAttach(txtAttach, this);
    return attachmentPicker_;
}

void frmSelect::normalizeRecipientField(QPlainTextEdit *field)
{
    const QString text = toCrLf(TypedText(*field));
    const QString canonical = NormalizeRecipients(text, program_.AddressBook);
    if (canonical != text)
        field->setPlainText(fromCrLf(canonical));
}

void frmSelect::txtDest_LostFocus() { normalizeRecipientField(txtDest); }
void frmSelect::txtCC_LostFocus() { normalizeRecipientField(txtCC); }
void frmSelect::txtBCC_LostFocus() { normalizeRecipientField(txtBCC); }

void frmSelect::txtDate_LostFocus()
{
    txtDate->setText(NormalizeDate(txtDate->text(), desktop().clock->now().date()));
}

void frmSelect::txtHeure_LostFocus()
{
    txtHeure->setText(NormalizeTime(txtHeure->text(), txtDate->text(), desktop().clock->now().date().year()));
}

void frmSelect::pickRecipients(qint16 target, QPlainTextEdit *field)
{
    program_.RecipientTarget = target;
    frmDest *picker = recipientsPicker();
    picker->clearChosen();
    picker->showModal();
    lostFocus_->moveFocus(field);
}

void frmSelect::cmdDest_Click() { pickRecipients(1, txtDest); }
void frmSelect::cmdCC_Click() { pickRecipients(2, txtCC); }
void frmSelect::cmdBCC_Click() { pickRecipients(3, txtBCC); }

void frmSelect::cmdAttach_Click()
{
    attachmentPicker()->showModal();
}

void frmSelect::cmdOK_Click()
{
    lostFocus_->moveFocus(txtTitre);
    if (ConfirmMail(program_, fields()) == ConfirmOutcome::Close)
        hide();
}

void frmSelect::cmdCancel_Click()
{
    lostFocus_->moveFocus(txtTitre);
    hide();
}

