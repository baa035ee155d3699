#include "Desktop.h"
#include "MessageTexts.h"
#include "DesignFonts.h"
#include "QtMessageBox.h"
#include "Settings.h"
#include "TestMainWindow.h"
#include "TrayIcon.h"
#include "frmMissed.h"
#include "frmSelect.h"
#ifdef TARDELLO_LINUX_MAIL
#include "LinuxAutomationFactory.h"
#include "Outbox.h"
#endif

#include "RowPictograms.h"
#include "Twips.h"
#ifdef TARDELLO_LINUX_MAIL
#include "DesktopNotifier.h"
#include "FakeSendmail.h"
#include "LinuxMailClient.h"
#include "PrivateSessionBus.h"
#endif

#include <QtWidgets>

#include <set>

namespace {
// Runs the command; returns the editor's fields if it opened the editor, which is hidden again.
std::optional<EditorFields> editorOpenedBy(frmMain &window, const std::function<void()> &command)
{
    std::optional<EditorFields> fields;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        if (window.editorVisible()) {
            fields = window.editor().fields();
            window.editor().hide();
        }
    });
    command();
    return fields;
}
#ifdef TARDELLO_LINUX_MAIL
// The tooltip a widget shows when the pointer rests at `at`.
QString tooltipOf(QWidget *widget, QPoint at = {4, 4})
{
    QHelpEvent rest(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &rest);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}
QString tooltipOfRow(QListView *list, int row)
{
    return tooltipOf(list->viewport(), list->visualRect(list->model()->index(row, 0)).center());
}

bool showsPictogram(QListView *list, int row, RowPictograms::Kind kind)
{
    return list->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey() ==
           RowPictograms::icon(kind).cacheKey();
}
#endif
} // namespace

// The main window and the tray icon that brings it back.
class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void newMailTakesLowestFreeSlotOrSaysTableFull()
    {
        TestMainWindow f;
        f.desk.clock.set(QStringLiteral("07/03/2031 23:59"));
        addPendingMails(f.program, 50);
        QVERIFY(!editorOpenedBy(f.window, [&] { f.window.cmdNew_Click(); }));
        const QStringList full{"Tardello - Erreur|16|    Nombre maximum de mails atteint.    "};
        QCOMPARE(shownBoxes(f.desk.messageBox), full);

        f.program.pending.release(7);
        f.program.pending.release(3);
        f.program.EditRow = 4;
        const auto fields = editorOpenedBy(f.window, [&] { f.window.cmdNew_Click(); });
        QVERIFY(fields);
        QCOMPARE(f.program.EditSlot, qint16(3));
        QCOMPARE(f.program.EditRow, qint16(-1));
        QCOMPARE(fields->txtDate, QStringLiteral("07/03/2031"));
        QCOMPARE(fields->txtTitre + fields->txtDest + fields->txtHeure + fields->txtContenu, QString());
        QCOMPARE(shownBoxes(f.desk.messageBox), full);
    }

    void deleteAsksThenFreesSlotAndRewritesStore_data()
    {
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<MsgBox::Answer>("answer");
        QTest::addColumn<bool>("sentDuringQuestion");
        QTest::addColumn<QStringList>("storeAfter");
        const QStringList all{"Sujet 1", "Sujet 2", "Sujet 3"};
        QTest::newRow("yes") << 1 << MsgBox::Yes << false << QStringList{"Sujet 1", "Sujet 3"};
        QTest::newRow("no") << 1 << MsgBox::No << false << all;
        QTest::newRow("nothing selected") << -1 << MsgBox::Yes << false << all;
        QTest::newRow("the mail leaves meanwhile: no other goes") << 0 << MsgBox::Yes << true << QStringList{"Sujet 2", "Sujet 3"};
    }
    void deleteAsksThenFreesSlotAndRewritesStore()
    {
        QFETCH(int, selectedRow);
        QFETCH(MsgBox::Answer, answer);
        QFETCH(bool, sentDuringQuestion);
        QFETCH(QStringList, storeAfter);
        TestMainWindow f;
        f.desk.clock.set(QStringLiteral("01/01/2030 10:00:30"));  // Sujet 1 is due
        addPendingMails(f.program, 3);
        if (selectedRow >= 0)
            f.window.lstHisto->setCurrentIndex(f.program.pending.lstHisto().index(selectedRow));
        f.desk.messageBox.answers << answer;
        if (sentDuringQuestion) {
            f.desk.messageBox.whileOpen = [&] {
                f.window.Timer1.setInterval(1);
                QTRY_COMPARE(f.program.lstSent.ListCount(), 1);
                f.window.Timer1.stop();
                QCOMPARE(f.window.lstHistoListIndex(), 0);  // the selection has moved to the next mail
            };
        }
        f.window.cmdDelete_Click();
        const QString ask = "Tardello|4|    Supprimer définitivement ce mail ?    ";
        QCOMPARE(shownBoxes(f.desk.messageBox), selectedRow < 0 ? QStringList() : QStringList{ask});
        QCOMPARE(storedSubjects(f.program), storeAfter);
        QCOMPARE(f.program.pending.lstHisto().ListCount(), storeAfter.size());
    }

    void enterOpensEditorOnlyFromPendingList()
    {
        TestMainWindow f;
        addPendingMails(f.program, 3);
        f.window.lstHisto->setCurrentIndex(f.program.pending.lstHisto().index(2));
        QVERIFY(f.showWindow());
        const auto press = [&](QWidget *target, Qt::Key key) {
            target->setFocus();
            return editorOpenedBy(f.window, [&] { QTest::keyClick(target, key); });
        };
        QVERIFY(!press(f.window.lstHisto, Qt::Key_A));
        QVERIFY(!press(f.window.lstSent, Qt::Key_Return));
        const auto fields = press(f.window.lstHisto, Qt::Key_Return);
        QVERIFY(fields);
        QCOMPARE(f.program.EditRow, qint16(2));
        QCOMPARE(f.program.EditSlot, qint16(f.program.pending.lstHisto().ItemData(2)));
        QCOMPARE(fields->txtTitre + ' ' + fields->txtDate + ' ' + fields->txtHeure, "Sujet 3 03/01/2030 10:00");
    }

    void closeBoxHidesOrMinimisesWithoutTray()
    {
        TestMainWindow f;
        bool tray = true;
        f.window.trayAvailable = [&] { return tray; };
        QVERIFY(f.showWindow());
        using enum frmMain::CloseReason;
        QVERIFY(!f.window.Form_QueryUnload(SessionEnds));  // the session ends: the close goes ahead
        QVERIFY(f.window.isVisible());
        QVERIFY(f.window.Form_QueryUnload(UserClose));  // the close box is cancelled and hides the window
        QVERIFY(!f.window.isVisible());
        f.window.show();
        tray = false;  // with no tray to bring it back from, it only minimises
        QVERIFY(f.window.Form_QueryUnload(UserClose));
        QVERIFY(f.window.isVisible() && f.window.isMinimized());
    }

    void clearTouchesNoPendingMailAndLinksOpenThroughTheShell()
    {
        TestMainWindow f;
        addPendingMails(f.program, 1);
        f.program.lstSent.AddItem(QStringLiteral("parti"));
        QVERIFY(QFile(f.program.paths.HelpPath).open(QIODevice::WriteOnly));
        f.window.cmdRAZ_Click();
        f.window.cmdNet_Click();
        f.window.cmdHelp_Click();
        QCOMPARE(f.program.lstSent.ListCount(), 0);
        QCOMPARE(storedSubjects(f.program), QStringList{"Sujet 1"});
        QCOMPARE(f.desk.shell.opened, (QStringList{frmMain::WebPage, f.program.paths.HelpPath}));
        QCOMPARE(f.desk.shell.directories, (QStringList{f.program.paths.ProgramDir, f.program.paths.ProgramDir}));
    }

    // "Aide" never does nothing: a missing guide or a desktop without a PDF viewer is told,
    // with where the guide is and what to install.
    void helpThatCannotBeShownSaysWhereTheGuideIsAndWhatToInstall()
    {
        TestMainWindow f;
        QVERIFY(f.showWindow());
        const QString path = QDir::toNativeSeparators(f.program.paths.HelpPath);
        const auto clickHelp = [&] {
            f.desk.messageBox.shown.clear();
            QTest::mouseClick(f.window.cmdHelp->area, Qt::LeftButton);
            return f.desk.messageBox.shown;
        };
        auto shown = clickHelp();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, MessageTexts::ErrorTitle);
        QVERIFY2(shown[0].prompt.contains(path + " n'existe pas.") && shown[0].prompt.contains("Réinstallez"),
                 qPrintable(shown[0].prompt));
        QVERIFY(f.desk.shell.opened.isEmpty());

        QVERIFY(QFile(f.program.paths.HelpPath).open(QIODevice::WriteOnly));
        f.desk.shell.fails = true;
        shown = clickHelp();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].buttons, MsgBox::Critical);
        QVERIFY2(shown[0].prompt.contains("Il se trouve ici : " + path + "    \r\n"), qPrintable(shown[0].prompt));
#ifdef Q_OS_LINUX
        QVERIFY2(shown[0].prompt.contains("sudo apt-get install evince xdg-utils"), qPrintable(shown[0].prompt));
#endif
        f.desk.shell.fails = false;
        QCOMPARE(clickHelp().size(), 0);
        QCOMPARE(f.desk.shell.opened, (QStringList{f.program.paths.HelpPath, f.program.paths.HelpPath}));
    }

    // A mail whose minute passed while the program was stopped: told at start-up
    // without blocking, its row marked (text unchanged), sent after a click on
    // "Envoyer maintenant"; the other window's choice leaves it marked.
    void missedWhileStoppedIsToldMarkedAndSentOnClick_data()
    {
        QTest::addColumn<bool>("sendNow");
        QTest::newRow("send now") << true;
        QTest::newRow("leave for editing") << false;
    }
    void missedWhileStoppedIsToldMarkedAndSentOnClick()
    {
        QFETCH(bool, sendNow);
        TestMainWindow f;
        addPendingMails(f.program, 2);
        const QString rowText = f.program.pending.lstHisto().List(0);
        f.desk.clock.set(QStringLiteral("01/01/2030 10:07:40"));
        f.window.show();
        f.window.FindMissedMails();
        frmMissed *missed = f.window.missedWindow();
        QVERIFY(missed && missed->isVisible() && !missed->isModal());
        QCOMPARE(missed->lstMissed->count(), 1);
        QCOMPARE(missed->lstMissed->item(0)->text(), "prévu le 01/01/2030 à 10:00   \"Sujet 1\"   pour dest1@exemple.fr");
        QCOMPARE(f.program.pending.lstHisto().List(0), rowText);
        QVERIFY(QTest::qWaitForWindowExposed(missed));

        QTest::mouseClick(sendNow ? missed->cmdSendNow : missed->cmdLeave, Qt::LeftButton);
        QVERIFY(!missed->isVisible());
        QCOMPARE(f.program.lstSent.ListCount(), sendNow ? 1 : 0);
        QCOMPARE(storedSubjects(f.program), (sendNow ? QStringList{"Sujet 2"} : QStringList{"Sujet 1", "Sujet 2"}));
        QCOMPARE(f.program.pending.lstHisto().marked(0), !sendNow);  // a mail left for editing stays marked
        f.window.Timer1_Timer();  // told once: a later pass does not bring the window back
        QVERIFY(!missed->isVisible());
    }

    // A missed row is orange with its pictogram, and its text keeps the columns of the other rows.
    void missedRowKeepsItsColumnsInLine()
    {
        TestMainWindow f;
        addPendingMail(f.program, "01/01/2030 10:00", "Même sujet", "meme@exemple.fr");
        addPendingMail(f.program, "01/01/2030 11:00", "Même sujet", "meme@exemple.fr");
        f.desk.clock.set(QStringLiteral("01/01/2030 10:30"));
        QVERIFY(f.showWindow());
        f.window.FindMissedMails();
        f.window.missedWindow()->hide();
        QVERIFY(f.program.pending.lstHisto().marked(0) && !f.program.pending.lstHisto().marked(1));
        const QImage shot = f.window.lstHisto->viewport()->grab().toImage();
        // The texts end alike, so their last dark pixel must be in the same column.
        const auto textEnd = [&](int row) {
            const QRect rect = f.window.lstHisto->visualRect(f.window.lstHisto->model()->index(row, 0)) & shot.rect();
            for (int x = rect.right(); x >= rect.left(); --x)
                for (int y = rect.top(); y <= rect.bottom(); ++y)
                    if (qGray(shot.pixel(x, y)) < 140)
                        return x;
            return -1;
        };
        QVERIFY(textEnd(0) > 0);
        QCOMPARE(textEnd(0), textEnd(1));
        const QRect missed = f.window.lstHisto->visualRect(f.window.lstHisto->model()->index(0, 0)) & shot.rect();
        QCOMPARE(shot.pixelColor(missed.right() - 2, missed.center().y()), QColor(255, 222, 173));
    }

    // On Linux the three choices take the same road and differ when a hand-over fails:
    // the frame says so where the pointer rests, and its controls stay where they were.
    void clientChoiceSaysWhatItMeansWithoutMoving()
    {
        TestMainWindow f;
        QVERIFY(f.showWindow());
        const Twips twips = Twips::ofScreen();
        QCOMPARE(f.window.option(MailClient::Outlook)->geometry(), twips.rect(120, 30, 2685, 285));
        QCOMPARE(f.window.option(MailClient::Notes)->geometry(), twips.rect(120, 275, 2685, 285));
        QCOMPARE(f.window.option(MailClient::Express)->geometry(), twips.rect(120, 520, 3735, 285));
#ifdef TARDELLO_LINUX_MAIL
        const QString outlook = tooltipOf(f.window.option(MailClient::Outlook));
        const QString notes = tooltipOf(f.window.option(MailClient::Notes));
        QVERIFY2(outlook.contains("sendmail") && outlook.contains("quitte la liste"), qPrintable(outlook));
        QVERIFY2(notes.contains("sendmail") && notes.contains("réessayé pendant la minute"), qPrintable(notes));
        QCOMPARE(tooltipOf(f.window.option(MailClient::Express)), notes);
        QVERIFY(tooltipOf(f.window.Frame3).contains("les trois choix envoient de la même façon"));
#endif
    }

#ifdef TARDELLO_LINUX_MAIL
    // Each transmitted mail's row says where its message is, through the notification
    // service of a private bus: refused (the failure notice), gone (that notice replaced).
    // Quitting with one waiting says so after the unchanged question; after a restart
    // its row comes back, waiting, and its departure is told.
    void sentRowsFollowTheOutboxAcrossARestart()
    {
        PrivateSessionBus session;
        if (session.start().isEmpty())
            QSKIP("dbus-daemon missing: run scripts/deps.sh --tests");
        RecordingNotifications service(session.address());
        QVERIFY(service.registered());
        TestMainWindow f;
        DesktopNotifier notifier(session.connect("tardello"), f.desk.messageBox);
        desktop().notifier = &notifier;
        const FakeSendmail sendmail(f.dir.path());
        QVERIFY(sendmail.setDown(true));
        f.program.mailClient.setValue(MailClient::Notes);

        const SenderIdentity me{"", "moi@exemple.fr", ""};
        auto client = std::make_unique<LinuxMailClient>(f.dir.path(), me);
        client->submitter.retryDelays = {std::chrono::milliseconds(300)};
        desktop().automation = &client->factory;
        f.window.useMailClient(*client);
        client->start();
        QVERIFY(f.showWindow());
        const auto handOver = [&](const QString &minute, const QString &subject, const QString &attachment = {}) {
            f.program.pending.schedule(f.program.pending.table().FindFreeSlot(),
                                       {.txtTitre = subject, .txtDest = "anne@exemple.fr", .txtAttach = attachment,
                                        .txtDate = "01/01/2030", .txtHeure = minute});
            const QString row = f.program.pending.lstHisto().List(0);
            f.desk.clock.set("01/01/2030 " + minute + ":05");
            const int before = f.program.lstSent.ListCount();
            f.window.Timer1.start(10);  // a real tick hands it over
            [&] { QTRY_COMPARE(f.program.lstSent.ListCount(), before + 1); }();
            f.window.Timer1.stop();
            return row;
        };
        const auto calls = [&] {
            QStringList told;
            for (const RecordingNotifications::Call &call : service.calls())
                told << QStringLiteral("%1 %2 %3 %4").arg(call.method).arg(call.id).arg(call.replaces).arg(call.body.section(' ', -4));
            return told;
        };

        const QString pendingRow = handOver("10:00", "Compte rendu");
        QCOMPARE(f.program.lstSent.List(0), pendingRow);  // the row's text is the pending row's
        QTRY_VERIFY(showsPictogram(f.window.lstSent, 0, RowPictograms::Kind::Refused));
        const QString refused = tooltipOfRow(f.window.lstSent, 0);
        QVERIFY2(refused.contains("Détail (sendmail) : cannot connect") && refused.contains("Prochain essai le"), qPrintable(refused));
        QVERIFY(sendmail.setDown(false));
        QTRY_VERIFY(showsPictogram(f.window.lstSent, 0, RowPictograms::Kind::Left));
        QVERIFY(tooltipOfRow(f.window.lstSent, 0).startsWith("Parti le " + QDate::currentDate().toString(u"dd/MM/yyyy")));
        QTRY_COMPARE(calls(), (QStringList{"Notify 1 0 signalés un par un.", "Notify 1 1 anne@exemple.fr est finalement parti."}));

        QVERIFY(sendmail.setDown(true));
        const QString waitingRow = handOver("10:01", "Relance");
        QTRY_VERIFY(showsPictogram(f.window.lstSent, 1, RowPictograms::Kind::Refused));
        QTRY_COMPARE(calls().size(), 3);
        // Outlook's stand-in takes a failed hand-over upon itself: the row comes, its message never existed.
        f.program.mailClient.setValue(MailClient::Outlook);
        handOver("10:02", "Plan", f.dir.filePath("bin"));
        QVERIFY(showsPictogram(f.window.lstSent, 2, RowPictograms::Kind::NotHandedOver));
        QTRY_COMPARE(calls().size(), 4);
        // "Vider" keeps the row of the mail still waiting.
        QTest::mouseClick(f.window.cmdRAZ->area, Qt::LeftButton);
        QCOMPARE(f.program.lstSent.texts(), QStringList{waitingRow});
        QVERIFY(showsPictogram(f.window.lstSent, 0, RowPictograms::Kind::Refused));
        TrayIcon tray(f.program, f.window);
        tray.endProgram = [] {};
        tray.confirmedQuit = [&] { client->watch.tellWaitingAtQuit(); };
        f.desk.messageBox.answers = {MsgBox::Yes};
        tray.mnuHardQuit_Click();
        QCOMPARE(shownBoxes(f.desk.messageBox),
                 QStringList{"Tardello|4|    Quitter Tardello ?    \r\n    Vos données ne seront pas perdues.    "});
        // Its failure notice is closed: the next run could not take it back.
        QTRY_COMPARE(calls().mid(4), (QStringList{"CloseNotification 2 0 ", "Notify 4 0 prochain démarrage de Tardello."}));
        QVERIFY(service.calls().last().body.startsWith("Un mail attend encore dans la boîte d'envoi"));

        client.reset();
        QVERIFY(sendmail.setDown(false));
        Program restarted(f.dir.path());
        frmMain again(restarted);
        client = std::make_unique<LinuxMailClient>(f.dir.path(), me);
        desktop().automation = &client->factory;
        again.useMailClient(*client);
        client->start();
        QCOMPARE(restarted.lstSent.texts(), QStringList{waitingRow});  // from the message's own headers
        QVERIFY(showsPictogram(again.lstSent, 0, RowPictograms::Kind::Waiting));
        QTRY_VERIFY(showsPictogram(again.lstSent, 0, RowPictograms::Kind::Left));
        QTRY_COMPARE(calls().mid(6), QStringList{"Notify 5 0 anne@exemple.fr est finalement parti."});
        QVERIFY(service.calls().last().body.startsWith("Le mail \"Relance\""));
    }
#endif

    void hoverLightsTheLastButtonMovedOver()
    {
        TestMainWindow f;
        QVERIFY(f.showWindow());
        const auto lit = [&] {
            QStringList on;
            for (const char *image : {"imgNewOn", "imgDelOn", "imgRAZOn", "imgNetOn", "imgHelpOn"})
                if (f.window.findChild<QWidget *>(image)->isVisible())
                    on << image;
            return on.join(' ');
        };
        QCOMPARE(lit(), QString());
        // Frame1, Frame3 and the form put the light out; other controls leave it as it is.
        const QStringList steps{"cmdDelete imgDelOn", "frmMain ", "cmdRAZ imgRAZOn", "lstHisto imgRAZOn",
                                "cmdNew imgNewOn",    "Frame1 ",  "cmdNet imgNetOn", "Frame2 imgNetOn",
                                "cmdHelp imgHelpOn",  "optNotes imgHelpOn", "Frame3 "};
        for (const QString &step : steps) {
            const QString name = step.section(' ', 0, 0);
            QWidget *area = name == "frmMain" ? &f.window : f.window.findChild<QWidget *>(name);
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), area->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(area, &move);
            QCOMPARE(name + ' ' + lit(), step);
        }
    }

    // Every mail client of the list, end to end: its option button sits inside the choice's
    // frame without covering another, and a click on it chooses it; the settings file keeps it by its
    // word and gives it back; a due mail then goes through its route, which creates exactly the
    // automation classes its entry names, and on Linux our own mail client serves each of them.
    void everyMailClientIsChosenKeptAndRouted()
    {
        TestMainWindow f;
        QVERIFY(f.showWindow());
        f.desk.clock.set(QStringLiteral("05/12/2026 14:05:20"));
        QList<QRect> places;
        for (std::size_t i = 0; i < mailClients.size(); ++i) {
            const MailClientEntry &entry = mailClients[i];
            auto *button = f.window.Picture2->findChild<QRadioButton *>(QString::fromLatin1(entry.option.name));
            QVERIFY(button && button == f.window.option(entry.client));
            QCOMPARE(button->text(), QString::fromUtf8(entry.option.caption));
            QVERIFY(f.window.Picture2->rect().contains(button->geometry()));
            // The design lets neighbours overlap by a few pixels, never over another's middle.
            const auto overlaps = [&](const QRect &other) {
                return other.contains(button->geometry().center()) || button->geometry().contains(other.center());
            };
            QVERIFY(std::ranges::none_of(places, overlaps));
            places << button->geometry();
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
            QCOMPARE(f.program.mailClient.value(), entry.client);
            QCOMPARE(std::ranges::count_if(f.window.Picture2->findChildren<QRadioButton *>(), &QRadioButton::isChecked), 1);

            const QString settings = f.program.paths.SettingsPath;
            QVERIFY(SaveSettings(settings, f.program.mailClient, f.program.AddressBook));
            QCOMPARE(f.desk.files.read(settings).value_or(""), "Client=" + QByteArray(entry.settingsWord) + "\r\n");
            MailClientChoice loaded;
            loaded.setValue(mailClients[(i + 1) % mailClients.size()].client);
            ListRows book;
            LoadSettings(settings, loaded, book);
            QCOMPARE(loaded.value(), entry.client);

            f.mailClients.calls.clear();
            addPendingMail(f.program, QStringLiteral("05/12/2026 14:05"), QStringLiteral("Rapport"));
            f.window.Timer1_Timer();
            QCOMPARE(f.program.lstSent.ListCount(), int(i + 1));
            std::set<std::string> created, named;
            for (const std::string &call : f.mailClients.calls)
                if (call.starts_with("create "))
                    created.insert(call.substr(7));
            for (const char *name : entry.classNames)
                if (name)
                    named.insert(name);
            QCOMPARE(created, named);
#ifdef TARDELLO_LINUX_MAIL
            LinuxAutomationFactory ours([](const MailDraft &) {});
            for (const std::string &name : named)
                QVERIFY_THROWS_NO_EXCEPTION(ours.create(name));
#endif
        }
    }

    // Qt's activation reasons, through the one mapping to the icon's events.
    void iconEventsShowWindowOrPopMenu_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("result");
        QTest::newRow("left click") << int(QSystemTrayIcon::Trigger) << "" << "window";
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << "" << "window";
        QTest::newRow("right click, clicks while the menu is open ignored") << int(QSystemTrayIcon::Context) << "" << "menu";
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << "" << "nothing";
        QTest::newRow("splash still up") << int(QSystemTrayIcon::Trigger) << "splash" << "nothing";
        QTest::newRow("editor open") << int(QSystemTrayIcon::DoubleClick) << "editing" << "nothing";
    }
    void iconEventsShowWindowOrPopMenu()
    {
        QFETCH(int, reason);
        QFETCH(QString, state);
        QFETCH(QString, result);
        TestMainWindow f;
        TrayIcon tray(f.program, f.window);
        tray.startupDone = state != "splash";
        int popups = 0;
        tray.popupMenu = [&] {
            ++popups;
            tray.Picture1_MouseMove(TrayEvent::LeftUp);
            tray.Picture1_MouseMove(TrayEvent::RightUp);
        };
        if (state == "editing")
            f.window.editor().show();
        tray.Picture1_MouseMove(trayEvent(QSystemTrayIcon::ActivationReason(reason)));
        QCOMPARE(f.window.isVisible(), result == "window");
        QCOMPARE(popups, result == "menu" ? 1 : 0);
        QVERIFY(!tray.TrayBusy());  // the icon answers again once the menu is closed
    }

    void questionsAnswerOuiOrNon()
    {
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            for (const QAbstractButton *button : box->buttons())
                buttons << button->text();
            box->button(QMessageBox::No)->click();
        });
        QtMessageBox messageBox;
        QCOMPARE(messageBox.show("    Quitter Tardello ?    ", MsgBox::YesNo, "Tardello"), MsgBox::No);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Non", "&Oui"}));
    }
    // Asked for by name, a stand-in is the face the font configuration gives
    // for the Windows name itself: the windows look the same either way.
    void designFontsAreTheFacesOfTheWindowsNames()
    {
        auto face = [](const QString &family, QFont::StyleHint hint) {
            QFont font(family);
            font.setStyleHint(hint);
            return QFontInfo(font).family();
        };
        QCOMPARE(QFontInfo(DesignFonts::arial(9.75, true)).family(), face("Arial", QFont::SansSerif));
        QCOMPARE(QFontInfo(DesignFonts::courierNew(9)).family(), face("Courier New", QFont::TypeWriter));
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
