// The yardstick: the least a Qt Widgets program showing what Tardello shows at
// start costs: a main window whose list holds 50 rows of text, and a tray
// icon. With --empty the list stays empty.
#include "MappedReport.h"

#include <QApplication>
#include <QListWidget>
#include <QMainWindow>
#include <QPixmap>
#include <QSystemTrayIcon>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QPixmap picture(32, 32);
    picture.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip(QStringLiteral(" Minimal "));
    tray.show();
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(761, 577);
    auto *list = new QListWidget(&window);
    window.setCentralWidget(list);
    if (!app.arguments().contains(QStringLiteral("--empty"))) {
        for (int row = 1; row <= 50; ++row)
            list->addItem(QStringLiteral("%1/01/2030 08:%2   Mail numéro %3").arg(1 + row % 28, 2, 10, QLatin1Char('0'))
                              .arg(row % 60, 2, 10, QLatin1Char('0')).arg(row));
    }
    ReportWhenMapped(window);
    window.show();
    return app.exec();
}
