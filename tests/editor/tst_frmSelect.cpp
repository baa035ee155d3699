#include "ConfirmMail.h"
#include "EditorTestSupport.h"
#include "MessageBox.h"
#include "Settings.h"
#include "TestDesktop.h"
#include "frmAttach.h"
#include "frmDest.h"
#include "frmSelect.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// Hides a modal window when a check inside it gives up early, so the test cannot hang.
struct HideOnExit
{
    QWidget *window;
    ~HideOnExit()
    {
        if (window->isVisible())
            window->hide();
    }
};

class tst_frmSelect : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void fieldsAreTidiedOnEveryWayOut_data();
    void fieldsAreTidiedOnEveryWayOut();
    void opensInSubjectAndIgnoresEnterAndEscape();
    void pickedRecipientsReachTheTargetField_data();
    void pickedRecipientsReachTheTargetField();
    void deletedAddressIsGoneAfterRestart();
    void confirmAfterADeliveryDuringTheEdit_data();
    void confirmAfterADeliveryDuringTheEdit();

private:
    void showActive();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<TestDesktop> desktop_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<frmSelect> editor_;
};

void tst_frmSelect::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    desktop_ = std::make_unique<TestDesktop>();
    desktop_->clock.set(QStringLiteral("04/12/2026 09:00"));
    program_ = std::make_unique<Program>(dir_->path());
    editor_ = std::make_unique<frmSelect>(*program_);
    program_->EditSlot = 1;
    program_->EditRow = -1;
}

void tst_frmSelect::cleanup()
{
    editor_.reset();
    program_.reset();
    desktop_.reset();
    dir_.reset();
}

// Shown modeless and active, so that focus changes deliver their events.
void tst_frmSelect::showActive()
{
    editor_->show();
    editor_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor_.get()));
}

void tst_frmSelect::fieldsAreTidiedOnEveryWayOut_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("tidied");

    QTest::newRow("To by tab") << "txtDest" << " a ;; b   c ;" << "tab" << "a;b c";
    QTest::newRow("To by a click on its button") << "txtDest" << ";x" << "click cmdAttach" << "x";
    QTest::newRow("CC by Abandonner") << "txtCC" << " y ;" << "click cmdCancel" << "y";
    QTest::newRow("BCC by Confirmer") << "txtBCC" << "z;;" << "click cmdOK" << "z";
    QTest::newRow("date by tab") << "txtDate" << "5/6/25" << "tab" << "05/06/2025";
    QTest::newRow("date by Confirmer") << "txtDate" << "hier" << "click cmdOK" << "04/12/2026";
    QTest::newRow("time by tab") << "txtHeure" << "9:5:59" << "tab" << "09:05";
    QTest::newRow("time by Abandonner") << "txtHeure" << "9h30" << "click cmdCancel" << "";
    QTest::newRow("time by the program") << "txtHeure" << "7:1" << "handler cmdCancel_Click" << "07:01";
}

void tst_frmSelect::fieldsAreTidiedOnEveryWayOut()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, way);
    QFETCH(QString, tidied);
    EditorFields fields;
    fields.txtDate = QStringLiteral("04/12/2026");
    editor_->setFields(fields);
    showActive();
    auto *target = editor_->findChild<QWidget *>(field);
    QVERIFY(target);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    if (auto *line = qobject_cast<QLineEdit *>(target))
        line->clear();
    QTest::keyClicks(target, typed);

    if (way == QStringLiteral("tab")) {
        QTest::keyClick(target, Qt::Key_Tab);
    } else if (way == QStringLiteral("handler cmdCancel_Click")) {
        editor_->cmdCancel_Click();
    } else {
        if (way == QStringLiteral("click cmdAttach"))  // its picker opens modally
            QTimer::singleShot(0, editor_.get(), [this] { HideOnExit{editor_->attachmentPicker()}; });
        auto *button = editor_->findChild<QPushButton *>(way.mid(6));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    const QString text = qobject_cast<QLineEdit *>(target) ? qobject_cast<QLineEdit *>(target)->text()
                                                         : qobject_cast<QPlainTextEdit *>(target)->toPlainText();
    QCOMPARE(text, tidied);
    if (field.startsWith(QStringLiteral("txt")) && field != QStringLiteral("txtDate") && field != QStringLiteral("txtHeure")) {
        for (const QString &entry : tidied.split(QLatin1Char(';')))
            QVERIFY2(program_->AddressBook.texts().contains(entry), qPrintable(entry));
    }
}

void tst_frmSelect::opensInSubjectAndIgnoresEnterAndEscape()
{
    editor_->setFields(mailFields(QStringLiteral("04/12/2026"), QStringLiteral("10:00")));
    bool checked = false;
    QTimer::singleShot(0, editor_.get(), [&] {
        HideOnExit guard{editor_.get()};
        QTRY_COMPARE(QApplication::focusWidget(), editor_->txtTitre);
        QTest::keyClick(editor_->txtDate, Qt::Key_Escape);
        QTest::keyClick(editor_->txtHeure, Qt::Key_Return);
        QTest::keyClick(editor_->cmdOK, Qt::Key_Return);
        QVERIFY(editor_->isVisible());
        QVERIFY(!program_->mailTable[1].InUse);
        // Lines of the body become CR LF in the mail.
        editor_->txtContenu->setPlainText(QStringLiteral("one\ntwo"));
        checked = true;
        editor_->close();  // through the frame: nothing stored
    });
    editor_->showModal();
    QVERIFY(checked);
    QVERIFY(!editor_->isVisible());
    QVERIFY(!program_->mailTable[1].InUse);
    QCOMPARE(editor_->fields().txtContenu, QStringLiteral("one\r\ntwo"));
    editor_->setFields(editor_->fields());
    QCOMPARE(editor_->txtContenu->toPlainText(), QStringLiteral("one\ntwo"));
}

void tst_frmSelect::pickedRecipientsReachTheTargetField_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("appended");
    QTest::addColumn<QString>("afterLeaving");

    QTest::newRow("To: b, a, c") << "cmdDest" << "" << QStringList{"b", "a", "c"} << true << QStringList{"a", "b", "c"}
                                 << ";a;b;c" << "a;b;c";
    QTest::newRow("CC holding x") << "cmdCC" << "x" << QStringList{"y"} << true << QStringList{"y"} << "x;y" << "x;y";
    QTest::newRow("BCC: same twice") << "cmdBCC" << "" << QStringList{"a", "a"} << true << QStringList{"a"} << ";a" << "a";
    QTest::newRow("nothing chosen") << "cmdDest" << "q" << QStringList{} << true << QStringList{} << "q" << "q";
    QTest::newRow("abandoned") << "cmdCC" << "q" << QStringList{"a"} << false << QStringList{"a"} << "q" << "q";
}

void tst_frmSelect::pickedRecipientsReachTheTargetField()
{
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QStringList, picks);
    QFETCH(bool, confirmed);
    QFETCH(QStringList, chosen);
    QFETCH(QString, appended);
    QFETCH(QString, afterLeaving);
    for (const char *address : {"a", "b", "c", "y"})
        program_->AddressBook.AddItem(QString::fromLatin1(address));
    const QMap<QString, QPlainTextEdit *> targets{
        {"cmdDest", editor_->txtDest}, {"cmdCC", editor_->txtCC}, {"cmdBCC", editor_->txtBCC}};
    QPlainTextEdit *field = targets.value(button);
    field->setPlainText(before);
    showActive();

    QStringList shownInLstTo;
    QTimer::singleShot(0, editor_.get(), [&] {
        frmDest *picker = editor_->recipientsPicker();
        HideOnExit guard{picker};
        QListView *lstDest = picker->lstDest;
        QTRY_COMPARE(QApplication::focusWidget(), lstDest);
        for (qsizetype i = 0; i < picks.size(); ++i) {
            const int row = program_->AddressBook.texts().indexOf(picks[i]);
            lstDest->setCurrentIndex(lstDest->model()->index(row, 0));
            // Each way of choosing in turn: double-click, ">>", Enter.
            if (i % 3 == 0) {
                const QPoint at = lstDest->visualRect(lstDest->currentIndex()).center();
                QTest::mouseClick(lstDest->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(lstDest->viewport(), Qt::LeftButton, {}, at);
            }
            else if (i % 3 == 1)
                QTest::mouseClick(picker->cmdTo, Qt::LeftButton);
            else
                QTest::keyClick(lstDest, Qt::Key_Return);
            lstDest->setFocus();
        }
        shownInLstTo = picker->chosen().texts();
        QTest::mouseClick(confirmed ? picker->cmdClose : picker->cmdAbandon, Qt::LeftButton);
    });
    QTest::mouseClick(editor_->findChild<QPushButton *>(button), Qt::LeftButton);

    QCOMPARE(shownInLstTo, chosen);
    QCOMPARE(field->toPlainText(), appended);
    QCOMPARE(editor_->focusWidget(), field);
    showActive();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    editor_->txtTitre->setFocus();
    QCOMPARE(field->toPlainText(), afterLeaving);
}

void tst_frmSelect::deletedAddressIsGoneAfterRestart()
{
    for (const char *address : {"a", "b", "c"})
        program_->AddressBook.AddItem(QString::fromLatin1(address));
    showActive();
    QTimer::singleShot(0, editor_.get(), [this] {
        frmDest *picker = editor_->recipientsPicker();
        HideOnExit guard{picker};
        picker->lstDest->setCurrentIndex(picker->lstDest->model()->index(0, 0));
        picker->cmdTo_Click();
        // Delete on a button removes nothing.
        picker->cmdTo->setFocus();
        QTest::keyClick(picker->cmdTo, Qt::Key_Delete);
        QCOMPARE(program_->AddressBook.ListCount(), 3);
        // Delete on lstTo removes the chosen row only.
        picker->lstTo->setFocus();
        picker->lstTo->setCurrentIndex(picker->lstTo->model()->index(0, 0));
        QTest::keyClick(picker->lstTo, Qt::Key_Delete);
        QCOMPARE(picker->chosen().ListCount(), 0);
        picker->lstDest->setFocus();
        picker->lstDest->setCurrentIndex(picker->lstDest->model()->index(1, 0));
        QTest::keyClick(picker->lstDest, Qt::Key_Delete);
        picker->close();
    });
    editor_->cmdDest_Click();
    QVERIFY(!editor_->recipientsPicker()->isVisible());

    const QString settings = dir_->filePath(QStringLiteral("Tardello.ini"));
    QVERIFY(SaveSettings(settings, program_->mailClient, program_->AddressBook));
    Program restarted(dir_->path());
    LoadSettings(settings, restarted.mailClient, restarted.AddressBook);
    QCOMPARE(restarted.AddressBook.texts(), (QStringList{"a", "c"}));
}

void tst_frmSelect::confirmAfterADeliveryDuringTheEdit_data()
{
    QTest::addColumn<int>("delivered");
    QTest::addColumn<QList<qint32>>("rows");
    QTest::newRow("the earlier mail left") << 1 << QList<qint32>{2};
    QTest::newRow("the edited mail left, scheduled again") << 2 << QList<qint32>{1, 2};
}

void tst_frmSelect::confirmAfterADeliveryDuringTheEdit()
{
    QFETCH(int, delivered);
    QFETCH(QList<qint32>, rows);
    addPending(*program_, 1, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("10:00")));
    addPending(*program_, 2, mailFields(QStringLiteral("04/12/2026"), QStringLiteral("11:00")));
    program_->EditRow = 1;
    program_->EditSlot = 2;
    editor_->setFields(EditorFieldsOf(program_->mailTable[2]));
    desktop_->messageBox.answers = {MsgBox::Yes};

    QTimer::singleShot(0, editor_.get(), [&] {
        HideOnExit guard{editor_.get()};
        deliver(*program_, qint16(delivered));
        editor_->txtHeure->setText(QStringLiteral("12:00"));
        QTest::mouseClick(editor_->cmdOK, Qt::LeftButton);
    });
    editor_->showModal();

    QVERIFY(!editor_->isVisible());
    QCOMPARE(rowSlots(*program_), rows);
    QVERIFY(rowsMatchTable(*program_));
    QVERIFY(program_->lstHisto.List(program_->lstHisto.indexOfItemData(program_->EditSlot))
                .startsWith(QStringLiteral("04/12/2026 12:00")));
}

QTEST_MAIN(tst_frmSelect)
#include "tst_frmSelect.moc"
