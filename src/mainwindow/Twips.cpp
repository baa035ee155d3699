#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace Twips {

namespace {
qreal logicalDpi(const QWidget *widget)
{
    const QScreen *screen = widget ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}
} // namespace

int toPixels(int twips, const QWidget *onScreenOf)
{
    return qRound(twips * logicalDpi(onScreenOf) / 1440.0);
}

QRect toPixels(int left, int top, int width, int height, const QWidget *onScreenOf)
{
    return {toPixels(left, onScreenOf), toPixels(top, onScreenOf), toPixels(width, onScreenOf),
            toPixels(height, onScreenOf)};
}

void place(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(toPixels(left, top, width, height, widget));
}

} // namespace Twips
