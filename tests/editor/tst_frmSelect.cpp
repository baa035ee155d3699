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

// One run of the program with its editor; a modal window that a failed check
// leaves open is hidden on the way out, so no test can hang.
struct EditorRun
{
    EditorRun() { desktop.clock.set(QStringLiteral("04/12/2026 09:00")); }
    // Shown modeless and active, so that focus changes deliver their events.
    bool showActive()
    {
        editor.show();
        editor.activateWindow();
        return QTest::qWaitForWindowActive(&editor);
    }
    QTemporaryDir dir;
    TestDesktop desktop;
    Program program{dir.path()};
    frmSelect editor{program};
};

struct HideOnExit
{
    QWidget *window;
    ~HideOnExit() { window->hide(); }
};

class tst_frmSelect : public QObject
{
    Q_OBJECT
private slots:
    void fieldsAreTidiedOnEveryWayOut_data();
    void fieldsAreTidiedOnEveryWayOut();
    void opensInSubjectAndIgnoresEnterAndEscape();
    void tabFollowsTheFormOrder();
    void pickedRecipientsReachTheTargetField_data();
    void pickedRecipientsReachTheTargetField();
    void deletedAddressIsGoneAfterRestart();
    void confirmAfterADeliveryDuringTheEdit();
};

void tst_frmSelect::fieldsAreTidiedOnEveryWayOut_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("tidied");
    QTest::newRow("To by tab") << "txtDest" << " a ;; b   c ;" << "tab" << "a;b c";
    QTest::newRow("To by a click on a button") << "txtDest" << ";x" << "cmdAttach" << "x";
    QTest::newRow("CC by Abandonner") << "txtCC" << " y ;" << "cmdCancel" << "y";
    QTest::newRow("BCC by Confirmer") << "txtBCC" << "z;;" << "cmdOK" << "z";
    QTest::newRow("To of separators by Confirmer") << "txtDest" << " ; ;" << "cmdOK" << "";
    QTest::newRow("date by tab") << "txtDate" << "5/6/25" << "tab" << "05/06/2025";
    QTest::newRow("date by Confirmer") << "txtDate" << "hier" << "cmdOK" << "04/12/2026";
    QTest::newRow("time by tab") << "txtHeure" << "9:5:59" << "tab" << "09:05";
    QTest::newRow("time by Abandonner") << "txtHeure" << "9h30" << "cmdCancel" << "";
    QTest::newRow("time by the program") << "txtHeure" << "7:1" << "cmdCancel_Click" << "07:01";
}

void tst_frmSelect::fieldsAreTidiedOnEveryWayOut()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, way);
    QFETCH(QString, tidied);
    EditorRun run;
    EditorFields fields;
    fields.txtDate = QStringLiteral("04/12/2026");
    run.editor.setFields(fields);
    QVERIFY(run.showActive());
    auto *target = run.editor.findChild<QWidget *>(field);
    target->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), target);
    if (auto *line = qobject_cast<QLineEdit *>(target))
        line->clear();
    QTest::keyClicks(target, typed);

    if (way == QStringLiteral("tab")) {
        QTest::keyClick(target, Qt::Key_Tab);
    } else if (way == QStringLiteral("cmdCancel_Click")) {
        run.editor.cmdCancel_Click();
    } else {
        if (way == QStringLiteral("cmdAttach"))  // its picker opens modally
            QTimer::singleShot(0, &run.editor, [&] { HideOnExit{run.editor.attachmentPicker()}; });
        QTest::mouseClick(run.editor.findChild<QPushButton *>(way), Qt::LeftButton);
    }

    if (auto *line = qobject_cast<QLineEdit *>(target)) {
        QCOMPARE(line->text(), tidied);
    } else {
        QCOMPARE(qobject_cast<QPlainTextEdit *>(target)->toPlainText(), tidied);
        QCOMPARE(run.program.AddressBook.texts(), tidied.split(QLatin1Char(';'), Qt::SkipEmptyParts));  // learned
    }
    // Confirmer saw the tidied fields: here the time or the To field is missing.
    QCOMPARE(run.desktop.messageBox.shown.size(), way == QStringLiteral("cmdOK") ? 1 : 0);
}

void tst_frmSelect::opensInSubjectAndIgnoresEnterAndEscape()
{
    EditorRun run;
    run.editor.setFields(mailFields(QStringLiteral("10:00")));
    run.program.EditSlot = 1;
    QTimer::singleShot(0, &run.editor, [&] {
        HideOnExit guard{&run.editor};
        QTRY_COMPARE(QApplication::focusWidget(), run.editor.txtTitre);
        QTest::keyClick(run.editor.txtDate, Qt::Key_Escape);
        QTest::keyClick(run.editor.txtHeure, Qt::Key_Return);
        QTest::keyClick(run.editor.cmdOK, Qt::Key_Return);
        QVERIFY(run.editor.isVisible());
        run.editor.txtContenu->setPlainText(QStringLiteral("one\ntwo"));
        run.editor.close();  // through the frame: stores nothing
    });
    run.editor.showModal();
    QVERIFY(!run.program.mailTable[1].InUse);
    QCOMPARE(run.desktop.messageBox.shown.size(), 0);
    QCOMPARE(run.editor.fields().txtContenu, QStringLiteral("one\r\ntwo"));
}

void tst_frmSelect::tabFollowsTheFormOrder()
{
    EditorRun run;
    QVERIFY(run.showActive());
    run.editor.txtTitre->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 14; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{"txtTitre", "txtContenu", "txtDest", "cmdDest", "txtCC", "cmdCC", "txtBCC", "cmdBCC",
                                   "txtAttach", "cmdAttach", "txtDate", "txtHeure", "cmdOK", "cmdCancel", "txtTitre"}));
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
    QTest::newRow("To: b, a, c") << "cmdDest" << "" << QStringList{"b", "a", "c"} << true
                                 << QStringList{"a", "b", "c"} << ";a;b;c" << "a;b;c";
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
    EditorRun run;
    for (const char *address : {"a", "b", "c", "y"})
        run.program.AddressBook.AddItem(QString::fromLatin1(address));
    auto *field = run.editor.findChild<QPlainTextEdit *>(QStringLiteral("txt") + button.mid(3));
    field->setPlainText(before);
    QVERIFY(run.showActive());

    QStringList shownInLstTo;
    QTimer::singleShot(0, &run.editor, [&] {
        frmDest *picker = run.editor.recipientsPicker();
        HideOnExit guard{picker};
        QListView *lstDest = picker->lstDest;
        QTRY_COMPARE(QApplication::focusWidget(), lstDest);
        for (qsizetype i = 0; i < picks.size(); ++i) {
            lstDest->setCurrentIndex(lstDest->model()->index(run.program.AddressBook.texts().indexOf(picks[i]), 0));
            const QPoint at = lstDest->visualRect(lstDest->currentIndex()).center();
            // Each way of choosing in turn: double-click, ">>", Enter.
            if (i % 3 == 0)
                QTest::mouseClick(lstDest->viewport(), Qt::LeftButton, {}, at),
                    QTest::mouseDClick(lstDest->viewport(), Qt::LeftButton, {}, at);
            else if (i % 3 == 1)
                QTest::mouseClick(picker->cmdTo, Qt::LeftButton), lstDest->setFocus();
            else
                QTest::keyClick(lstDest, Qt::Key_Return);
        }
        shownInLstTo = picker->chosen().texts();
        QTest::mouseClick(confirmed ? picker->cmdClose : picker->cmdAbandon, Qt::LeftButton);
    });
    QTest::mouseClick(run.editor.findChild<QPushButton *>(button), Qt::LeftButton);

    QCOMPARE(shownInLstTo, chosen);
    QCOMPARE(field->toPlainText(), appended);
    QCOMPARE(run.editor.focusWidget(), field);
    QVERIFY(run.showActive());
    QTRY_COMPARE(QApplication::focusWidget(), field);
    run.editor.txtTitre->setFocus();
    QCOMPARE(field->toPlainText(), afterLeaving);
}

void tst_frmSelect::deletedAddressIsGoneAfterRestart()
{
    EditorRun run;
    for (const char *address : {"a", "b", "c"})
        run.program.AddressBook.AddItem(QString::fromLatin1(address));
    QVERIFY(run.showActive());
    QTimer::singleShot(0, &run.editor, [&] {
        frmDest *picker = run.editor.recipientsPicker();
        HideOnExit guard{picker};
        picker->lstDest->setCurrentIndex(picker->lstDest->model()->index(0, 0));
        picker->cmdTo_Click();
        picker->lstTo->setCurrentIndex(picker->lstTo->model()->index(0, 0));
        for (QWidget *focused : {static_cast<QWidget *>(picker->cmdTo), static_cast<QWidget *>(picker->lstTo)}) {
            focused->setFocus();
            QTest::keyClick(focused, Qt::Key_Delete);
        }
        QCOMPARE(picker->chosen().ListCount(), 0);  // the button removed nothing, lstTo its row
        QCOMPARE(run.program.AddressBook.ListCount(), 3);
        picker->lstDest->setFocus();
        picker->lstDest->setCurrentIndex(picker->lstDest->model()->index(1, 0));
        QTest::keyClick(picker->lstDest, Qt::Key_Delete);
        picker->close();
    });
    run.editor.cmdDest_Click();
    QVERIFY(!run.editor.recipientsPicker()->isVisible());

    const QString settings = run.dir.filePath(QStringLiteral("Tardello.ini"));
    QVERIFY(SaveSettings(settings, run.program.mailClient, run.program.AddressBook));
    Program restarted(run.dir.path());
    LoadSettings(settings, restarted.mailClient, restarted.AddressBook);
    QCOMPARE(restarted.AddressBook.texts(), (QStringList{"a", "c"}));
}

void tst_frmSelect::confirmAfterADeliveryDuringTheEdit()
{
    EditorRun run;
    addPending(run.program, 1, mailFields(QStringLiteral("10:00")));
    addPending(run.program, 2, mailFields(QStringLiteral("11:00")));
    run.program.EditRow = 1;
    run.program.EditSlot = 2;
    run.editor.setFields(EditorFieldsOf(run.program.mailTable[2]));
    QTimer::singleShot(0, &run.editor, [&] {
        HideOnExit guard{&run.editor};
        QVERIFY(deliver(run.program, run.desktop, 1));  // row 1 no longer exists
        run.editor.txtHeure->setText(QStringLiteral("12:00"));
        QTest::mouseClick(run.editor.cmdOK, Qt::LeftButton);
        QVERIFY(!run.editor.isVisible());
    });
    run.editor.showModal();
    QCOMPARE(rowSlots(run.program), QList<qint32>{2});
    QVERIFY(run.program.lstHisto.List(0).startsWith(QStringLiteral("04/12/2026 12:00")));
}

QTEST_MAIN(tst_frmSelect)
#include "tst_frmSelect.moc"
