// The yardstick: the least a Qt Widgets program with a window and a tray icon costs.
#include <QApplication>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QPixmap picture(32, 32);
    picture.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(picture)};
    tray.setToolTip(QStringLiteral(" Minimal "));
    tray.show();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal window"));
    window.resize(761, 577);
    window.show();
    return app.exec();
}
