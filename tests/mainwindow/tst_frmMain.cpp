#include "PendingMails.h"
#include "Program.h"
#include "TestDesktop.h"
#include "frmMain.h"
#include "frmSelect.h"

#include <QLabel>
#include <QListView>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs the main window's command and records whether it opened the editor,
// and with which fields; the editor is hidden again at once.
struct EditorProbe
{
    bool opened = false;
    EditorFields fields;

    void run(frmMain &window, const std::function<void()> &command)
    {
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            if (!window.editorVisible())
                return;
            opened = true;
            fields = window.editor().fields();
            window.editor().hide();
        });
        command();
    }
};

} // namespace

class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        desk = std::make_unique<TestDesktop>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        program = std::make_unique<Program>(dir->path());
        window = std::make_unique<frmMain>(*program);
    }
    void cleanup()
    {
        window.reset();
        program.reset();
        dir.reset();
        desk.reset();
    }

    void newMailTakesLowestFreeSlotOrSaysTableFull()
    {
        desk->clock.set(QStringLiteral("07/03/2031 23:59"));
        addPendingMails(*program, 50);
        EditorProbe full;
        full.run(*window, [&] { window->cmdNew_Click(); });
        QVERIFY(!full.opened);
        QCOMPARE(desk->messageBox.shown.size(), 1);
        QCOMPARE(desk->messageBox.shown[0].prompt, QStringLiteral("    Nombre maximum de mails atteint.    "));
        QCOMPARE(desk->messageBox.shown[0].buttons, 16);
        QCOMPARE(desk->messageBox.shown[0].title, QStringLiteral("Tardello - Erreur"));

        program->mailTable.ReleaseSlot(7);
        program->mailTable.ReleaseSlot(3);
        program->EditRow = 4;
        EditorProbe fresh;
        fresh.run(*window, [&] { window->cmdNew_Click(); });
        QVERIFY(fresh.opened);
        QCOMPARE(program->EditSlot, qint16(3));
        QCOMPARE(program->EditRow, qint16(-1));
        EditorFields expected;
        expected.txtDate = QStringLiteral("07/03/2031");
        QCOMPARE(fresh.fields.txtDate, expected.txtDate);
        QCOMPARE(fresh.fields.txtTitre + fresh.fields.txtDest + fresh.fields.txtHeure + fresh.fields.txtContenu, QString());
        QCOMPARE(desk->messageBox.shown.size(), 1);
    }

    void deleteAsksThenFreesSlotAndRewritesStore_data()
    {
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<QStringList>("storeAfter");
        const QStringList all{"Sujet 1", "Sujet 2", "Sujet 3"};
        QTest::newRow("yes") << 1 << 6 << true << QStringList{"Sujet 1", "Sujet 3"};
        QTest::newRow("no") << 1 << 7 << true << all;
        QTest::newRow("nothing selected") << -1 << 6 << false << all;
    }
    void deleteAsksThenFreesSlotAndRewritesStore()
    {
        QFETCH(int, selectedRow);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(QStringList, storeAfter);
        addPendingMails(*program, 3);
        if (selectedRow >= 0)
            window->lstHisto->setCurrentIndex(program->lstHisto.index(selectedRow));
        desk->messageBox.answers << answer;
        window->cmdDelete_Click();

        QCOMPARE(desk->messageBox.shown.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(desk->messageBox.shown[0].prompt, QStringLiteral("    Supprimer définitivement ce mail ?    "));
            QCOMPARE(desk->messageBox.shown[0].buttons, 4);
            QCOMPARE(desk->messageBox.shown[0].title, QStringLiteral("Tardello"));
        }
        QCOMPARE(storedSubjects(program->store.path()), storeAfter);
        QCOMPARE(program->lstHisto.ListCount(), storeAfter.size());
        QCOMPARE(program->mailTable.inUseCount(), int(storeAfter.size()));
        if (storeAfter.size() == 2)
            QCOMPARE(program->mailTable.FindFreeSlot(), qint16(2));
    }

    void enterOpensEditorOnlyFromPendingList_data()
    {
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("opens");
        QTest::newRow("Enter on lstHisto") << "lstHisto" << int(Qt::Key_Return) << true;
        QTest::newRow("letter on lstHisto") << "lstHisto" << int(Qt::Key_A) << false;
        QTest::newRow("Enter on lstSent") << "lstSent" << int(Qt::Key_Return) << false;
        QTest::newRow("Enter on an option") << "optNotes" << int(Qt::Key_Return) << false;
    }
    void enterOpensEditorOnlyFromPendingList()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        QFETCH(bool, opens);
        addPendingMails(*program, 3);
        program->lstSent.AddItem(QStringLiteral("sent row"));
        window->lstHisto->setCurrentIndex(program->lstHisto.index(2));
        window->lstSent->setCurrentIndex(program->lstSent.index(0));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        auto *target = window->findChild<QWidget *>(focused);
        QVERIFY(target);
        target->setFocus();
        program->EditRow = -1;
        EditorProbe probe;
        probe.run(*window, [&] { QTest::keyClick(target, Qt::Key(key)); });
        QCOMPARE(probe.opened, opens);
        if (opens) {
            QCOMPARE(program->EditRow, qint16(2));
            QCOMPARE(program->EditSlot, qint16(program->lstHisto.ItemData(2)));
            QCOMPARE(probe.fields.txtTitre, QStringLiteral("Sujet 3"));
            QCOMPARE(probe.fields.txtDate, QStringLiteral("03/01/2030"));
            QCOMPARE(probe.fields.txtHeure, QStringLiteral("10:00"));
        } else {
            QCOMPARE(program->EditRow, qint16(-1));
        }
    }

    void closeBoxHidesOrMinimisesWithoutTray_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<bool>("visible");
        QTest::newRow("close box, tray") << true << 0 << true << false;
        QTest::newRow("close box, no tray") << false << 0 << true << true;
        QTest::newRow("session ends") << true << 2 << false << true;
    }
    void closeBoxHidesOrMinimisesWithoutTray()
    {
        QFETCH(bool, tray);
        QFETCH(int, mode);
        QFETCH(bool, cancelled);
        QFETCH(bool, visible);
        window->trayAvailable = [tray] { return tray; };
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(window->Form_QueryUnload(mode), cancelled);
        QCOMPARE(window->isVisible(), visible);
        QCOMPARE(window->isMinimized(), cancelled && !tray);
    }

    void clearAndShellCommandsTouchNothingElse()
    {
        addPendingMails(*program, 2);
        program->lstSent.AddItem(QStringLiteral("a"));
        program->lstSent.AddItem(QStringLiteral("b"));
        const int writes = desk->files.writes;
        window->cmdRAZ_Click();
        window->cmdNet_Click();
        window->cmdHelp_Click();
        QCOMPARE(program->lstSent.ListCount(), 0);
        QCOMPARE(program->lstHisto.ListCount(), 2);
        QCOMPARE(desk->files.writes, writes);
        QCOMPARE(desk->shell.opened.size(), 2);
        QCOMPARE(QUrl(desk->shell.opened[0]).path(), QStringLiteral("/quando.php"));
        QCOMPARE(desk->shell.opened[1], dir->path() + QStringLiteral("/Tardello.pdf"));
        QCOMPARE(desk->shell.directories, QStringList(2, dir->path()));
        QVERIFY(desk->messageBox.shown.isEmpty());
    }

    void optionButtonsFollowTheOneClientChoice()
    {
        QVERIFY(window->optOutlook->isChecked());
        program->mailClient.setValue(MailClient::Notes);
        QVERIFY(window->optNotes->isChecked() && !window->optOutlook->isChecked());
        window->optExpress->click();
        QCOMPARE(program->mailClient.value(), MailClient::Express);
    }

    void hoverLightsTheLastButtonMovedOver_data()
    {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QString>("lit");
        QTest::newRow("nothing yet") << QStringList{} << QString();
        QTest::newRow("background then Effacer") << QStringList{"frmMain", "cmdDelete"} << "imgDelOn";
        QTest::newRow("Effacer across background to Vider") << QStringList{"cmdDelete", "frmMain", "cmdRAZ"} << "imgRAZOn";
        QTest::newRow("button then Frame1") << QStringList{"cmdNew", "Frame1"} << QString();
        QTest::newRow("button then Frame3") << QStringList{"cmdHelp", "Frame3"} << QString();
        QTest::newRow("button then list") << QStringList{"cmdNet", "lstHisto"} << "imgNetOn";
        QTest::newRow("button then Frame2") << QStringList{"cmdNew", "Frame2"} << "imgNewOn";
        QTest::newRow("button then option") << QStringList{"cmdHelp", "optNotes"} << "imgHelpOn";
    }
    void hoverLightsTheLastButtonMovedOver()
    {
        QFETCH(QStringList, moves);
        QFETCH(QString, lit);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const QString &name : moves) {
            QWidget *area = name == QStringLiteral("frmMain") ? window.get() : window->findChild<QWidget *>(name);
            QVERIFY2(area, qPrintable(name));
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), area->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(area, &move);
        }
        for (const char *image : {"imgNewOn", "imgDelOn", "imgRAZOn", "imgNetOn", "imgHelpOn"}) {
            auto *label = window->findChild<QLabel *>(QString::fromLatin1(image));
            QVERIFY(label);
            QCOMPARE(label->isVisible(), lit == QLatin1String(image));
        }
    }

private:
    std::unique_ptr<TestDesktop> desk;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Program> program;
    std::unique_ptr<frmMain> window;
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
