#pragma once

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QtMath>

// Window layouts are drawn in twips: 1440 to the inch, 15 to the pixel at 96 dpi.
class Twips
{
public:
    explicit Twips(qreal dotsPerInch) : dotsPerInch_(dotsPerInch) {}
    static Twips ofScreen()
    {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return Twips(screen ? screen->logicalDotsPerInch() : 96.0);
    }

    int operator()(int twips) const { return qRound(twips * dotsPerInch_ / 1440.0); }
    QRect rect(int left, int top, int width, int height) const
    {
        return QRect((*this)(left), (*this)(top), (*this)(width), (*this)(height));
    }
    QSize size(int width, int height) const { return QSize((*this)(width), (*this)(height)); }

private:
    qreal dotsPerInch_;
};
