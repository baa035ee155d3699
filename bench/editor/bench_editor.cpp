// The mail editor with a body of one very long line: the CPU time of opening
// it, Ctrl+End, one keystroke and Confirmer (which also saves the store), each
// step through real events and followed by the repaint it causes.

#include "DesktopServices.h"
#include "Program.h"
#include "frmSelect.h"

#include "BodyTextEdit.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

template <typename Step>
double measure(QWidget &window, Step step)
{
    const double start = cpuMs();
    step();
    QCoreApplication::processEvents();
    window.repaint();
    return cpuMs() - start;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir programDir;
    DesktopServices services(programDir.path());
    services.install();
    const int runs = 7;
    const QString words = QStringLiteral("Voici une ligne du message, avec des accents é à ç et 5 €. ");
    std::printf("body of one line; CPU ms, median [min - max] of %d runs\n", runs);
    for (const int megabytes : {1, 5}) {
        QString body;
        while (body.size() < megabytes * 1024 * 1024)
            body += words;
        QList<double> steps[4];
        for (int run = 0; run < runs; ++run) {
            QTemporaryDir dir;
            Program program(dir.path());
            program.EditRow = -1;
            program.EditSlot = 1;
            frmSelect editor(program);
            editor.show();
            if (!QTest::qWaitForWindowExposed(&editor))
                return 1;
            EditorFields fields{.txtTitre = "t", .txtContenu = body, .txtDest = "a@x.fr", .txtDate = "04/12/2030", .txtHeure = "10:00"};
            steps[0] << measure(editor, [&] { editor.setFields(fields); });
            editor.txtContenu->setFocus();
            steps[1] << measure(editor, [&] { QTest::keyClick(editor.txtContenu, Qt::Key_End, Qt::ControlModifier); });
            steps[2] << measure(editor, [&] { QTest::keyClick(editor.txtContenu, Qt::Key_X); });
            steps[3] << measure(editor, [&] { QTest::mouseClick(editor.cmdOK, Qt::LeftButton); });
            if (program.pending[1].Contenu.size() != body.size() + 1 || editor.isVisible())
                return 1;
        }
        const char *names[] = {"open", "Ctrl+End", "one key", "Confirmer"};
        for (int step = 0; step < 4; ++step) {
            std::sort(steps[step].begin(), steps[step].end());
            std::printf("%d MB  %-10s %7.1f  [%.1f - %.1f]\n", megabytes, names[step], steps[step][runs / 2],
                        steps[step].first(), steps[step].last());
        }
    }
    return 0;
}
