#include "LinuxMailClient.h"
#include "Routes.h"
#include "SenderTest.h"
#include "TestDesktop.h"

#include <QtTest>

// Built without the run path to the composing module, as an installation that
// lost it: every hand-over says so in words, and nothing half-made reaches the outbox.
class ComposerMissingTest : public QObject
{
    Q_OBJECT
private slots:
    void handOverTellsTheModuleIsMissing()
    {
        QTemporaryDir dir;
        LinuxMailClient client(dir.path(), {"", "moi@exemple.fr", ""});
        TestDesktop desk;
        const OutgoingMail mail{"Sujet", "ana@example.org;bob@example.org", "", "", "Corps", ""};
        for (int route : {1, 2}) {
            try {
                route == 1 ? SendWithNotes(client.factory, mail, {46000}) : SendWithExpress(client.factory, mail);
                QFAIL("no failure raised");
            } catch (const automation::Failure &failure) {
                QCOMPARE(failure.member(), "Send");
                QVERIFY2(QString::fromUtf8(failure.what()).contains("n'a pas pu être chargé (libtardello_composer.so"),
                         failure.what());
            }
        }
        // Outlook's route swallows it: its stand-in tells which mail, recipients listed.
        SendWithOutlook(client.factory, mail);
        QCOMPARE(desk.messageBox.shown.size(), 1);
        QVERIFY(desk.messageBox.shown[0].prompt.contains("\"Sujet\" pour ana@example.org, bob@example.org"));
        QVERIFY(desk.messageBox.shown[0].prompt.contains("réinstallez Tardello"));
        QVERIFY(client.outbox.messages().isEmpty());

        SenderTest test;
        QSignalSpy finished(&test, &SenderTest::finished);
        QVERIFY(test.start({"", "moi@exemple.fr", ""}));
        QCOMPARE(finished.size(), 1);
        QVERIFY(finished[0][1].toString().startsWith("Le message d'essai n'a pas pu être composé"));

        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY(!maps.readAll().contains("libgmime"));
    }
};

QTEST_GUILESS_MAIN(ComposerMissingTest)
#include "tst_composermissing.moc"
