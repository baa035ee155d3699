#include "BodyTextEdit.h"
#include "DirectoryList.h"
#include "OutgoingMail.h"
#include "Scheduler.h"
#include "TestProgram.h"
#include "frmAttach.h"
#include "frmDest.h"
#include "frmSelect.h"

#include <QtWidgets>

// The program with its editor, shown modeless and active when asked, so that
// focus changes deliver their events. Today is 04/12/2026, 09:00.
struct EditorRun : TestProgram
{
    frmSelect editor{program};
    bool showActive() { return editor.show(), editor.activateWindow(), QTest::qWaitForWindowActive(&editor); }
};

const EditorFields mail{.txtTitre = "t", .txtDest = "a@x.fr", .txtDate = "04/12/2026", .txtHeure = "10:00"};

// Real keys, typed into the field once it has the focus.
void type(QWidget *field, const QString &text)
{
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClicks(field, text);
}

// The editor, its body field, its recipient picker and its attachment picker.
class tst_frmSelect : public QObject
{
    Q_OBJECT
private slots:
    void fieldsAreTidiedOnEveryWayOut()
    {
        // The field, what is typed, the way out (a key, a button, the program), what the field then holds.
        const std::array<QString, 4> cases[]{
            {"txtDest", " a ;; b   c ;", "tab", "a;b c"},    {"txtDest", ";x", "cmdAttach", "x"},  // a click on any button
            {"txtCC", " y ;", "cmdCancel", "y"},             {"txtBCC", "z;;", "cmdOK", "z"},
            {"txtDest", " ; ;", "cmdOK", ""},                {"txtDate", "5/6/25", "tab", "05/06/2025"},
            {"txtHeure", "9h30", "cmdOK", ""},               {"txtHeure", "7:1", "cmdCancel_Click", "07:01"},
        };
        for (const auto &[field, typed, way, tidied] : cases) {
            EditorRun run;
            run.editor.setFields(mail);
            QVERIFY(run.showActive());
            auto *target = run.editor.findChild<QWidget *>(field);
            const char *text = qobject_cast<QLineEdit *>(target) ? "text" : "plainText";
            target->setProperty(text, QString());
            type(target, typed);
            if (way == "cmdAttach")  // its picker opens modally
                QTimer::singleShot(0, &run.editor, [&] { run.editor.attachmentPicker()->hide(); });
            if (way == "tab")
                QTest::keyClick(target, Qt::Key_Tab);
            else if (way == "cmdCancel_Click")
                run.editor.cmdCancel_Click();
            else
                QTest::mouseClick(run.editor.findChild<QPushButton *>(way), Qt::LeftButton);
            QCOMPARE(target->property(text).toString(), tidied);
            // Confirmer saw the tidied fields: it finds one missing only when tidying emptied it.
            QCOMPARE(run.desk.messageBox.shown.size(), way == "cmdOK" && tidied.isEmpty() ? 1 : 0);
        }
    }

    // Each label ends before the field on its line; the editor opens in the subject, after its whole
    // text, ignores Enter and Escape and closes through its frame as "Abandonner" does.
    void opensClearOfLabelsInSubjectAfterItsTextIgnoresEnterAndEscapeAndClosesAsAbandonner()
    {
        EditorRun run;
        for (const QLabel *label : run.editor.findChildren<QLabel *>())
            for (const QWidget *field : label->parentWidget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                const bool sameLine = field->y() < label->geometry().bottom() && label->y() < field->geometry().bottom();
                QVERIFY2(field == label || !sameLine || field->x() <= label->x() || label->x() + label->sizeHint().width() <= field->x(),
                         qPrintable(label->text()));
            }
        EditorFields longer = mail;  // longer than a line field takes by default
        longer.txtTitre = longer.txtAttach = QString(40000, QLatin1Char('x'));
        run.editor.setFields(longer);
        QTimer::singleShot(0, &run.editor, [&] {
            // A modal window that a failed check leaves open is hidden on the way out, so no test can hang.
            const auto hideOnExit = qScopeGuard([&] { run.editor.hide(); });
            QTRY_COMPARE(QApplication::focusWidget(), run.editor.txtTitre);
            // A key typed goes after the subject rather than replacing it.
            QVERIFY(!run.editor.txtTitre->hasSelectedText() && run.editor.txtTitre->cursorPosition() == longer.txtTitre.size());
            QTest::keyClick(run.editor.txtDate, Qt::Key_Escape);
            QTest::keyClick(run.editor.txtHeure, Qt::Key_Return);
            QTest::keyClick(run.editor.cmdOK, Qt::Key_Return);
            QVERIFY(run.editor.isVisible());
            run.editor.txtContenu->setPlainText(QStringLiteral("one\ntwo"));
            run.editor.close();  // through the frame: stores nothing
        });
        run.editor.showModal();
        QCOMPARE(run.program.pending.table().inUseCount(), 0);
        QVERIFY(run.editor.fields().txtContenu == "one\r\ntwo" && run.editor.fields().txtAttach == longer.txtAttach);
    }

    // The body field holds a very long line in pieces; the pieces never show in its text.
    // Keys: "end" moves to the end of the first piece, "start" to the start of the
    // second; then the key itself, sent as a real key event.
    void piecesAreInvisibleToEditing()
    {
        // Digits without blanks, so that the pieces are cut at exactly PieceLength.
        const QString line = QString("1234567890").repeated(3 * BodyTextEdit::LongLine / 10);
        const QString body = "début\n" + line + QString::fromUtf16(u"\nfin\u00A0");
        BodyTextEdit edit;
        edit.setBody(QString(BodyTextEdit::LongLine, 'a') + "\nb");  // ordinary lines scroll sideways, whole
        QVERIFY(edit.lineWrapMode() == QPlainTextEdit::NoWrap && edit.document()->blockCount() == 2);
        edit.setBody(body);
        QCOMPARE(edit.lineWrapMode(), QPlainTextEdit::WidgetWidth);  // in pieces: the edits below fall on a piece's edge
        // The cursor at the end of the first piece or the start of the second, a real key, and what becomes
        // of "890123" around the piece's edge: Backspace and Delete cross it, Enter breaks the line.
        const std::tuple<bool, Qt::Key, QString> cases[]{
            {false, Qt::Key_Backspace, "89123"}, {true, Qt::Key_Delete, "89023"}, {false, Qt::Key_Return, "890\n123"}, {true, Qt::Key_X, "890x123"}};
        for (const auto &[atEnd, key, expected] : cases) {
            QTextCursor cursor(edit.document()->findBlockByNumber(atEnd ? 1 : 2));
            cursor.movePosition(atEnd ? QTextCursor::EndOfBlock : QTextCursor::StartOfBlock);
            edit.setTextCursor(cursor);
            QTest::keyClick(&edit, key);
            const QString changed = QString(body).replace(6 + BodyTextEdit::PieceLength - 3, 6, expected);  // the no-break space kept
            QCOMPARE(edit.body(), changed);
            // Copying across pieces copies the line whole; undo brings the text back.
            edit.selectAll(), edit.copy();
            QCOMPARE(QGuiApplication::clipboard()->text(), changed);
            edit.undo();
            QCOMPARE(edit.body(), body);
        }
    }

    // Non-breaking spaces, typed as real keys in the subject, the body and a recipient field,
    // reach the store (Windows-1252 byte A0) and the mail handed over (UTF-8 C2 A0).
    void typedNonBreakingSpacesReachTheStoreAndTheMail()
    {
        EditorRun run;
        run.editor.setFields({.txtDate = "04/12/2026", .txtHeure = "10:00"});
        QVERIFY(run.showActive());
        const QString nbsp(QChar(0xA0));
        type(run.editor.txtTitre, "Prix" + nbsp + ": 10" + nbsp + "F");
        type(run.editor.txtContenu, "Bonjour" + nbsp + "!");
        QTest::keyClick(run.editor.txtContenu, Qt::Key_Return);
        type(run.editor.txtContenu, "Merci" + nbsp + "?");
        type(run.editor.txtDest, "Anne" + nbsp + "Dupont <a@x.fr> ; b@y.fr");
        QTest::keyClick(run.editor.txtDest, Qt::Key_Tab);  // tidied on the way out
        QTest::mouseClick(run.editor.cmdOK, Qt::LeftButton);
        QCOMPARE(run.program.pending.table().inUseCount(), 1);
        const QByteArray stored = run.desk.files.read(run.program.pending.store().path()).value_or("");
        for (const QByteArray &part : {QByteArray("Titre=Prix\xA0: 10\xA0" "F\r\n"), QByteArray("Dest=Anne\xA0" "Dupont <a@x.fr>;b@y.fr\r\n"),
                                       QByteArray("DebutContenu=\r\nBonjour\xA0!\r\nMerci\xA0?\r\n=FinContenu")})
            QVERIFY2(stored.contains(part), stored.constData());
        const OutgoingMail handed = OutgoingMailOf(run.program.pending.table()[1]);
        QCOMPARE(QString::fromStdString(handed.subject + '|' + handed.to + '|' + handed.body),
                 "Prix" + nbsp + ": 10" + nbsp + "F|Anne" + nbsp + "Dupont <a@x.fr>;b@y.fr|Bonjour" + nbsp + "!\r\nMerci" + nbsp + "?");
    }

    // Picks: "x" chooses x, by double-click, ">>" and Enter in turn; "-x" deletes x
    // from the address book, "~x" from the chosen list, with the Delete key.
    void recipientPicker()
    {
        const QStringList abcy{"a", "b", "c", "y"};
        // The button, the field's text before, the picks, Terminé or Abandonner, what is appended, the book afterwards.
        const std::tuple<QString, QString, QStringList, bool, QString, QStringList> cases[]{
            {"cmdDest", "", {"b", "a", "c"}, true, ";a;b;c", abcy}, {"cmdCC", "x", {"y"}, true, ";y", abcy},
            {"cmdBCC", "", {"a", "a"}, true, ";a", abcy},            {"cmdDest", "", {}, true, "", abcy},
            {"cmdCC", "", {"a"}, false, "", abcy},                   {"cmdDest", "", {"a", "b", "~a", "-c"}, true, ";b", {"a", "b", "y"}},
        };
        for (const auto &[button, before, picks, confirmed, appended, book] : cases) {
            EditorRun run;
            for (const QString address : {"a", "b", "c", "y"})
                run.program.AddressBook.AddItem(address);
            auto *field = run.editor.findChild<QPlainTextEdit *>(QStringLiteral("txt") + button.mid(3));
            field->setPlainText(before);
            QVERIFY(run.showActive());
            QTimer::singleShot(0, &run.editor, [&] {
                frmDest *picker = run.editor.recipientsPicker();
                const auto hideOnExit = qScopeGuard([picker] { picker->hide(); });
                QTRY_COMPARE(QApplication::focusWidget(), picker->lstDest);
                int way = 0;
                for (const QString &pick : picks) {
                    const QChar sign = pick.front();
                    const QString address = sign == u'-' || sign == u'~' ? pick.mid(1) : pick;
                    QListView *list = sign == u'~' ? picker->lstTo : picker->lstDest;
                    const QStringList rows = (sign == u'~' ? picker->chosen() : run.program.AddressBook).texts();
                    list->setFocus();
                    list->setCurrentIndex(list->model()->index(rows.indexOf(address), 0));
                    const QPoint at = list->visualRect(list->currentIndex()).center();
                    if (address != pick)
                        QTest::keyClick(list, Qt::Key_Delete);
                    else if (++way % 3 == 1)
                        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at),
                            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                    else if (way % 3 == 2)
                        QTest::mouseClick(picker->cmdTo, Qt::LeftButton);
                    else
                        QTest::keyClick(list, Qt::Key_Return);
                }
                // The chosen list, sorted and without repeats, is what Terminé appends.
                QCOMPARE(picker->chosen().texts(), confirmed ? appended.split(QLatin1Char(';'), Qt::SkipEmptyParts) : picks);
                QTest::mouseClick(confirmed ? picker->cmdClose : picker->cmdAbandon, Qt::LeftButton);
            });
            QTest::mouseClick(run.editor.findChild<QPushButton *>(button), Qt::LeftButton);

            QCOMPARE(field->toPlainText(), before + appended);
            QCOMPARE(run.program.AddressBook.texts(), book);
            QVERIFY(run.showActive());
            QTRY_COMPARE(QApplication::focusWidget(), field);
        }
    }
    // A file over the size limit (a sparse one of 5 GB: nothing is read) is refused in words where
    // it is picked, the picker staying open, and again at Confirmer when its path is typed.
    void anAttachmentOverTheLimitIsRefusedWherePickedAndAtConfirmer()
    {
        QTemporaryDir dir;
        QFile big(dir.filePath("film.iso"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(5'000'000'000));
        EditorRun run;
        run.editor.setFields(mail);
        QVERIFY(run.showActive());
        bool pickerStayedOpen = false;
        QTimer::singleShot(0, &run.editor, [&] {
            frmAttach *picker = run.editor.attachmentPicker();
            const auto hideOnExit = qScopeGuard([picker] { picker->hide(); });
            QVERIFY(picker->dirList->setPath(dir.path()));
            QListWidgetItem *file = picker->flList->findItems("film.iso", Qt::MatchExactly).value(0);
            QVERIFY(file);  // a single click chooses it
            QTest::mouseClick(picker->flList->viewport(), Qt::LeftButton, {}, picker->flList->visualItemRect(file).center());
            QTest::mouseClick(picker->cmdClose, Qt::LeftButton);
            pickerStayedOpen = picker->isVisible();
        });
        QTest::mouseClick(run.editor.findChild<QPushButton *>("cmdAttach"), Qt::LeftButton);
        QVERIFY(pickerStayedOpen && run.editor.txtAttach->text().isEmpty());
        QCOMPARE(run.desk.messageBox.shown.size(), 1);
        const QString told = run.desk.messageBox.shown[0].prompt;
        QVERIFY2(told.contains("« film.iso » fait 5,0 Go") && told.contains("plus de 25 Mo") && told.contains("au plus 18,0 Mo"), qPrintable(told));

        run.editor.txtAttach->setFocus();
        QTest::keyClicks(run.editor.txtAttach, big.fileName());
        QTest::mouseClick(run.editor.cmdOK, Qt::LeftButton);
        QVERIFY(run.program.pending.table().inUseCount() == 0 && run.desk.messageBox.shown.size() == 2);
        QVERIFY(run.desk.messageBox.shown[1].prompt.contains("5,0 Go"));
        QVERIFY(big.resize(1'000'000));  // made smaller: it goes
        QTest::mouseClick(run.editor.cmdOK, Qt::LeftButton);
        QVERIFY(run.program.pending.table().inUseCount() == 1 && run.program.pending.table()[1].Attach == big.fileName());
    }

    // Through real clicks on scrolled lists: the press that leaves the
    // directory list makes its entry current while the file is being clicked.
    // A file at a root joins with the root's own separator.
    void attachmentPathJoinsTheShownDirectoryAndTheClickedFile()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        for (const QString &folder : {QStringLiteral("sub/"), QString()})
            for (int n = 10; n < 70; ++n)
                QVERIFY(QFile(dir.filePath(folder + QStringLiteral("f%1.txt").arg(n))).open(QIODevice::WriteOnly));
        QLineEdit editorAttach(QStringLiteral("earlier"));
        frmAttach picker(&editorAttach);
        QVERIFY(picker.dirList->setPath(dir.path()));
        picker.cmdClose_Click();  // no file clicked: the editor's attachment stays
        QCOMPARE(editorAttach.text(), QStringLiteral("earlier"));
        picker.show(), picker.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        const auto click = [](QListWidget *list, QListWidgetItem *item) {
            QVERIFY(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        };
        // Into "sub" and back to its parent, each time by one click, then a file far down.
        for (const QString &folder : {QStringLiteral("sub"), QDir(dir.path()).dirName()}) {
            click(picker.dirList, picker.dirList->findItems(' ' + folder, Qt::MatchEndsWith).value(0));
            picker.flList->scrollToBottom();
            click(picker.flList, picker.flList->item(57));
            const QString shown = QDir(folder == "sub" ? dir.filePath("sub") : dir.path()).absolutePath();
            QCOMPARE(picker.dirList->Path() + '|' + picker.txtAttach->text(), shown + '|' + QDir::toNativeSeparators(shown + "/f67.txt"));
        }
        picker.cmdAbandon_Click();
        const QString abandoned = editorAttach.text();
        picker.cmdClose_Click();
        QCOMPARE(abandoned + '|' + editorAttach.text(), "earlier|" + QDir::toNativeSeparators(dir.filePath("f67.txt")));

        // At a root, then a drive that cannot be read: back to the previous one.
        picker.drvList->setCurrentIndex(picker.drvList->findData(QDir::rootPath()));
        picker.drvList_Change();
        picker.drvList->addItem(QStringLiteral("empty"), dir.filePath(QStringLiteral("no-medium")));
        picker.drvList->setCurrentIndex(picker.drvList->count() - 1);
        picker.drvList_Change();
        QVERIFY(picker.drvList->currentData().toString() == QDir::rootPath() && picker.dirList->Path() == QDir::rootPath());
        if (picker.flList->count() == 0)
            QSKIP("the root directory holds no file to click");
        picker.flList->setCurrentRow(0);
        // The root's own separator and the joining one: "//name" here, "C:\\name" on Windows.
        QCOMPARE(picker.txtAttach->text(), QDir::toNativeSeparators(QDir::rootPath()) + QDir::separator() + picker.flList->item(0)->text());
    }
};

QTEST_MAIN(tst_frmSelect)
#include "tst_frmSelect.moc"
