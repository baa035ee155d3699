#include "Application.h"

#include <QApplication>
#include <QMainWindow>

int Main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Tardello - v 1.15"));
    window.show();
    return app.exec();
}
