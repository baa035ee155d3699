#include "Desktop.h"
#include "MessageTexts.h"
#include "DesignFonts.h"
#include "QtMessageBox.h"
#include "TestMainWindow.h"
#include "TrayIcon.h"
#include "frmMissed.h"
#include "frmSelect.h"
#include "RowPictograms.h"
#ifdef TARDELLO_LINUX_MAIL
#include "LinuxAutomationFactory.h"
#include "Outbox.h"
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
        if (window.editorVisible())
            fields = window.editor().fields(), window.editor().hide();
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
QString tooltipOfRow(QListView *list, int row) { return tooltipOf(list->viewport(), list->visualRect(list->model()->index(row, 0)).center()); }
bool showsPictogram(QListView *list, int row, RowPictograms::Kind kind)
{
    return list->model()->index(row, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey() == RowPictograms::icon(kind).cacheKey();
}
#endif
} // namespace

// The main window and the tray icon that brings it back.
class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void deleteAsksThenFreesSlotAndRewritesStore()
    {
        const QStringList all{"Sujet 1", "Sujet 2", "Sujet 3"};
        // The row selected (row 0 is due: it leaves while the question is open), the answer, the store afterwards.
        const std::tuple<int, MsgBox::Answer, QStringList> cases[]{
            {1, MsgBox::Yes, {"Sujet 1", "Sujet 3"}}, {1, MsgBox::No, all}, {-1, MsgBox::Yes, all},  // -1: nothing selected
            {0, MsgBox::Yes, {"Sujet 2", "Sujet 3"}},  // the mail leaves meanwhile: no other goes
        };
        for (const auto &[selectedRow, answer, storeAfter] : cases) {
            TestMainWindow f;
            f.desk.clock.set(QStringLiteral("01/01/2030 10:00:30"));  // Sujet 1 is due
            addPendingMails(f.program, 3);
            if (selectedRow >= 0)
                f.window.lstHisto->setCurrentIndex(f.program.pending.lstHisto().index(selectedRow));
            f.desk.messageBox.answers << answer;
            if (selectedRow == 0)
                f.desk.messageBox.whileOpen = [&f] {
                    f.window.Timer1.setInterval(1);
                    QTRY_COMPARE(f.program.lstSent.ListCount(), 1);
                    f.window.Timer1.stop();
                    QCOMPARE(f.window.lstHistoListIndex(), 0);  // the selection has moved to the next mail
                };
            f.window.cmdDelete_Click();
            QCOMPARE(shownBoxes(f.desk.messageBox).join(""), selectedRow < 0 ? "" : "Tardello|4|    Supprimer définitivement ce mail ?    ");
            QCOMPARE(storedSubjects(f.program), storeAfter);
            QCOMPARE(f.program.pending.lstHisto().ListCount(), storeAfter.size());
        }
    }

    // Enter on a pending row opens it, and no other key or list does; "Nouveau mail" opens an
    // empty editor on the lowest free slot, or says the table is full.
    void editorOpensThePendingRowOnEnterOrANewMailInTheLowestFreeSlot()
    {
        TestMainWindow f;
        f.desk.clock.set(QStringLiteral("07/03/2029 23:59"));
        addPendingMails(f.program, 50);
        f.window.lstHisto->setCurrentIndex(f.program.pending.lstHisto().index(2));
        QVERIFY(f.showWindow());
        const auto press = [&](QWidget *target, Qt::Key key) {
            target->setFocus();
            return editorOpenedBy(f.window, [&] { QTest::keyClick(target, key); });
        };
        QVERIFY(!press(f.window.lstHisto, Qt::Key_A));
        QVERIFY(!press(f.window.lstSent, Qt::Key_Return));
        auto fields = press(f.window.lstHisto, Qt::Key_Return);
        QVERIFY(fields && f.program.EditRow == 2 && f.program.EditSlot == f.program.pending.lstHisto().ItemData(2));
        QCOMPARE(fields->txtTitre + ' ' + fields->txtDate + ' ' + fields->txtHeure, "Sujet 3 03/01/2030 10:00");

        QVERIFY(!editorOpenedBy(f.window, [&] { f.window.cmdNew_Click(); }));
        const QStringList full{"Tardello - Erreur|16|    Nombre maximum de mails atteint.    "};
        QCOMPARE(shownBoxes(f.desk.messageBox), full);
        f.program.pending.release(7), f.program.pending.release(5);
        fields = editorOpenedBy(f.window, [&] { f.window.cmdNew_Click(); });
        QVERIFY(fields && f.program.EditSlot == 5 && f.program.EditRow == -1);  // a new mail, not the row edited before
        QCOMPARE(fields->txtTitre + fields->txtDest + fields->txtHeure + fields->txtContenu + '|' + fields->txtDate, "|07/03/2029");
        QCOMPARE(shownBoxes(f.desk.messageBox), full);
    }

    void closeBoxHidesOrMinimisesWithoutTray()
    {
        TestMainWindow f;
        bool tray = true;
        f.window.trayAvailable = [&] { return tray; };
        QVERIFY(f.showWindow());
        using enum frmMain::CloseReason;
        QVERIFY(!f.window.Form_QueryUnload(SessionEnds) && f.window.isVisible());  // the session ends: the close goes ahead
        QVERIFY(f.window.Form_QueryUnload(UserClose) && !f.window.isVisible());  // the close box is cancelled and hides the window
        f.window.show();
        tray = false;  // with no tray to bring it back from, it only minimises
        QVERIFY(f.window.Form_QueryUnload(UserClose) && f.window.isVisible() && f.window.isMinimized());
    }

    // "Aide" never does nothing: a missing guide or a desktop without a PDF viewer is told,
    // with where the guide is and what to install. Links open in the program's directory;
    // "Vider" touches no pending mail.
    void linksOpenThroughTheShellOrSayWhatToInstallAndClearKeepsPendingMail()
    {
        TestMainWindow f;
        addPendingMails(f.program, 1);
        f.program.lstSent.AddItem(QStringLiteral("parti"));
        QVERIFY(f.showWindow());
        const QString path = QDir::toNativeSeparators(f.program.paths.HelpPath);
        const auto clickHelp = [&] {  // the one box shown, "title|buttons|prompt"
            f.desk.messageBox.shown.clear();
            QTest::mouseClick(f.window.cmdHelp->area, Qt::LeftButton);
            return shownBoxes(f.desk.messageBox).join("\n--\n");
        };
        QString told = clickHelp();
        QVERIFY2(told.startsWith(MessageTexts::ErrorTitle + "|16|") && told.contains(path + " n'existe pas.") && told.contains("Réinstallez")
                 && !told.contains("\n--\n") && f.desk.shell.opened.isEmpty(), qPrintable(told));
        QVERIFY(QFile(f.program.paths.HelpPath).open(QIODevice::WriteOnly));
        f.desk.shell.fails = true;
        told = clickHelp();
        QVERIFY2(told.contains("|16|") && told.contains("Il se trouve ici : " + path + "    \r\n") && !told.contains("\n--\n"), qPrintable(told));
#ifdef Q_OS_LINUX
        QVERIFY2(told.contains("sudo apt-get install evince xdg-utils"), qPrintable(told));
#endif
        f.desk.shell.fails = false;
        QCOMPARE(clickHelp(), QString());
        f.window.cmdNet_Click();
        QCOMPARE(f.desk.shell.opened, (QStringList{f.program.paths.HelpPath, f.program.paths.HelpPath, frmMain::WebPage}));
        QCOMPARE(f.desk.shell.directories, QStringList(3, f.program.paths.ProgramDir));
        f.window.cmdRAZ_Click();
        QVERIFY(f.program.lstSent.ListCount() == 0 && storedSubjects(f.program) == QStringList{"Sujet 1"});
    }

    // A mail whose minute passed while the program was stopped: told at start-up
    // without blocking, its row marked (text unchanged), sent after a click on
    // "Envoyer maintenant"; the other window's choice leaves it marked, orange with
    // its pictogram, its text in line with the other rows'.
    void missedWhileStoppedIsToldMarkedAndSentOnClick()
    {
        for (const bool sendNow : {true, false}) {  // or leaves it for editing
            TestMainWindow f;
            addPendingMails(f.program, 2);
            const QString rowText = f.program.pending.lstHisto().List(0);
            f.desk.clock.set(QStringLiteral("01/01/2030 10:07:40"));
            f.window.show();
            f.window.FindMissedMails();
            frmMissed *missed = f.window.missedWindow();
            QVERIFY(missed && QTest::qWaitForWindowExposed(missed) && !missed->isModal());
            QCOMPARE(missed->lstMissed->count(), 1);
            QCOMPARE(missed->lstMissed->item(0)->text(), "prévu le 01/01/2030 à 10:00   \"Sujet 1\"   pour dest1@exemple.fr");
            QCOMPARE(f.program.pending.lstHisto().List(0), rowText);

            QTest::mouseClick(sendNow ? missed->cmdSendNow : missed->cmdLeave, Qt::LeftButton);
            QCOMPARE(f.program.lstSent.ListCount(), sendNow ? 1 : 0);
            QCOMPARE(storedSubjects(f.program), (sendNow ? QStringList{"Sujet 2"} : QStringList{"Sujet 1", "Sujet 2"}));
            QCOMPARE(f.program.pending.lstHisto().marked(0), !sendNow);  // a mail left for editing stays marked
            f.window.Timer1_Timer();  // told once: a later pass does not bring the window back
            QVERIFY(!missed->isVisible());
        }
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

#ifdef TARDELLO_LINUX_MAIL
    // Each transmitted mail's row says where its message is, through the notification
    // service of a private bus: refused (the failure notice), gone (that notice replaced).
    // Quitting with one waiting says so; after a restart its row comes back, waiting, then gone. The three choices take the
    // same road and differ when a hand-over fails: their tooltips say so.
    void sentRowsFollowTheOutboxAcrossARestart()
    {
        PrivateSessionBus session;
        if (session.start().isEmpty())
            QSKIP("dbus-daemon missing: run scripts/deps.sh --tests");
        RecordingNotifications service(session.address());
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
        const QString notes = tooltipOf(f.window.option(MailClient::Notes));
        QVERIFY2(tooltipOf(f.window.option(MailClient::Outlook)).contains("quitte la liste") && notes.contains("réessayé pendant la minute")
                 && tooltipOf(f.window.option(MailClient::Express)) == notes, qPrintable(notes));
        QVERIFY(tooltipOf(f.window.Frame3).contains("les trois choix envoient de la même façon"));
        const auto handOver = [&](const QString &minute, const QString &subject, const QString &attachment = {}) {
            f.program.pending.schedule(f.program.pending.table().FindFreeSlot(), {.txtTitre = subject, .txtDest = "anne@exemple.fr",
                                       .txtAttach = attachment, .txtDate = "01/01/2030", .txtHeure = minute});
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

        handOver("10:00", "Compte rendu");
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
        // "Vider" keeps the row of the mail still waiting, its text the pending row's.
        QTest::mouseClick(f.window.cmdRAZ->area, Qt::LeftButton);
        QCOMPARE(f.program.lstSent.texts(), QStringList{waitingRow});
        QVERIFY(showsPictogram(f.window.lstSent, 0, RowPictograms::Kind::Refused));
        client->watch.tellWaitingAtQuit();  // as a confirmed "Quitter" does
        // Its failure notice is closed: the next run could not take it back.
        QTRY_COMPARE(calls().mid(4), (QStringList{"CloseNotification 2 0 ", "Notify 4 0 prochain démarrage de Tardello."}));

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
            QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), area->mapToGlobal(QPointF(2, 2)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(area, &move);
            QCOMPARE(name + ' ' + lit(), step);
        }
    }

    // Every mail client of the list, end to end: its option button sits inside the choice's
    // frame without covering another, and a click on it chooses it; a due mail then goes through its
    // route, which creates exactly the automation classes its entry names, and on Linux our own mail
    // client serves each of them.
    void everyMailClientIsChosenAndRouted()
    {
        TestMainWindow f;
        QVERIFY(f.showWindow());
        f.desk.clock.set(QStringLiteral("05/12/2026 14:05:20"));
        QList<QRect> places;
        for (std::size_t i = 0; i < mailClients.size(); ++i) {
            const MailClientEntry &entry = mailClients[i];
            auto *button = f.window.Picture2->findChild<QRadioButton *>(QString::fromLatin1(entry.option.name));
            QVERIFY(button && button == f.window.option(entry.client) && button->text() == QString::fromUtf8(entry.option.caption));
            // The design lets neighbours overlap by a few pixels, never over another's middle.
            const QRect place = button->geometry();
            QVERIFY(f.window.Picture2->rect().contains(place));
            QVERIFY(std::ranges::none_of(places, [&](const QRect &other) { return other.contains(place.center()) || place.contains(other.center()); }));
            places << place;
            QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
            QCOMPARE(f.program.mailClient.value(), entry.client);
            QCOMPARE(std::ranges::count_if(f.window.Picture2->findChildren<QRadioButton *>(), &QRadioButton::isChecked), 1);


            f.mailClients.calls.clear();
            addPendingMail(f.program, QStringLiteral("05/12/2026 14:05"), QStringLiteral("Rapport"));
            f.window.Timer1_Timer();
            QCOMPARE(f.program.lstSent.ListCount(), int(i + 1));
            std::set<std::string> created, named{entry.classNames[0]};
            for (const std::string &call : f.mailClients.calls)
                if (call.starts_with("create "))
                    created.insert(call.substr(7));
            if (entry.classNames[1])
                named.insert(entry.classNames[1]);
            QCOMPARE(created, named);
#ifdef TARDELLO_LINUX_MAIL
            LinuxAutomationFactory ours([](const MailDraft &) {});
            for (const std::string &name : named)
                QVERIFY_THROWS_NO_EXCEPTION(ours.create(name));
#endif
        }
    }

    // Qt's activation reasons, through the one mapping to the icon's events.
    void iconEventsShowWindowOrPopMenu()
    {
        using enum QSystemTrayIcon::ActivationReason;
        // The click, what else is going on (the splash still up, the editor open), what it shows.
        const std::tuple<QSystemTrayIcon::ActivationReason, QString, QString> cases[]{
            {Trigger, "", "window"}, {DoubleClick, "", "window"}, {Context, "", "menu"}, {MiddleClick, "", "nothing"},
            {Trigger, "splash", "nothing"}, {DoubleClick, "editing", "nothing"}};
        for (const auto &[reason, state, result] : cases) {
            TestMainWindow f;
            TrayIcon tray(f.program, f.window);
            tray.startupDone = state != "splash";
            int popups = 0;
            tray.popupMenu = [&] {  // clicks on the icon while its menu is open are ignored
                ++popups;
                tray.Picture1_MouseMove(TrayEvent::LeftUp), tray.Picture1_MouseMove(TrayEvent::RightUp);
            };
            if (state == "editing")
                f.window.editor().show();
            tray.Picture1_MouseMove(trayEvent(reason));
            QCOMPARE(QString(f.window.isVisible() ? "window" : popups == 1 ? "menu" : popups ? "menus" : "nothing"), result);
            QVERIFY(!tray.TrayBusy());  // the icon answers again once the menu is closed
        }
    }

    void questionsAnswerOuiOrNon()
    {
        QString texts;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            texts = box->button(QMessageBox::Yes)->text() + '/' + box->button(QMessageBox::No)->text();
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(QtMessageBox().show("    Quitter Tardello ?    ", MsgBox::YesNo, "Tardello"), MsgBox::No);
        QCOMPARE(texts, "&Oui/&Non");
    }
    // Asked for by name, a stand-in is the face the font configuration gives
    // for the Windows name itself: the windows look the same either way.
    void designFontsAreTheFacesOfTheWindowsNames()
    {
        auto face = [](const QString &family, QFont::StyleHint hint) { QFont font(family); return font.setStyleHint(hint), QFontInfo(font).family(); };
        QCOMPARE(QFontInfo(DesignFonts::arial(9.75, true)).family(), face("Arial", QFont::SansSerif));
        QCOMPARE(QFontInfo(DesignFonts::courierNew(9)).family(), face("Courier New", QFont::TypeWriter));
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
