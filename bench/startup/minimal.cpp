// The yardstick: the least a Qt Widgets program with a window and a tray icon
// costs. With --text the window also shows one line of text, which brings in
// the font and text-shaping machinery that any real window needs.
#include <QApplication>
#include <QLabel>
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
    if (app.arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Mails en attente"), &window))->move(10, 10);
    window.show();
    return app.exec();
}
