#include "Artwork.h"

#include "DesignFonts.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Artwork {

namespace {

QPixmap transparentPixmap(QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawEnvelope(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(60, 70, 90), qMax(1.0, r.width() / 24)));
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(r);
    QPainterPath flap;
    flap.moveTo(r.topLeft());
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.55);
    flap.lineTo(r.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
}

void drawClock(QPainter &p, const QPointF &centre, qreal radius)
{
    p.setPen(QPen(QColor(40, 60, 120), qMax(1.0, radius / 6)));
    p.setBrush(QColor(255, 214, 90));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(QColor(40, 40, 40), qMax(1.0, radius / 7), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(0, -radius * 0.65));
    p.drawLine(centre, centre + QPointF(radius * 0.5, radius * 0.2));
}

void drawGlobe(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(20, 70, 140), 1.5));
    p.setBrush(QColor(110, 170, 230));
    p.drawEllipse(r);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(r.adjusted(r.width() * 0.3, 0, -r.width() * 0.3, 0));
    p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), r.bottom()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    const qreal dy = r.height() * 0.25;
    p.drawLine(QPointF(r.left() + 3, r.center().y() - dy), QPointF(r.right() - 3, r.center().y() - dy));
    p.drawLine(QPointF(r.left() + 3, r.center().y() + dy), QPointF(r.right() - 3, r.center().y() + dy));
}

void drawBin(QPainter &p)
{
    p.setPen(QPen(QColor(70, 70, 80), 1.5));
    p.setBrush(QColor(200, 205, 215));
    QPainterPath body;
    body.moveTo(8, 10);
    body.lineTo(24, 10);
    body.lineTo(22, 29);
    body.lineTo(10, 29);
    body.closeSubpath();
    p.drawPath(body);
    p.drawRect(QRectF(6, 7, 20, 3));
    p.drawRect(QRectF(13, 4, 6, 3));
    for (qreal x : {12.5, 16.0, 19.5})
        p.drawLine(QPointF(x, 13), QPointF(x, 26));
}

} // namespace

QPixmap programPicture()
{
    QPixmap pixmap = transparentPixmap({32, 32});
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawEnvelope(p, QRectF(2, 7, 24, 17));
    drawClock(p, QPointF(23, 22), 8);
    return pixmap;
}

QIcon programIcon()
{
    return QIcon(programPicture());
}

QImage programImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawEnvelope(p, QRectF(2, 7, 24, 17));
    drawClock(p, QPointF(23, 22), 8);
    return image;
}

void drawButtonFace(QPainter &p, QSize size, bool highlight)
{
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, size.height());
    shade.setColorAt(0, highlight ? QColor(255, 244, 214) : QColor(250, 251, 253));
    shade.setColorAt(1, highlight ? QColor(250, 206, 120) : QColor(221, 227, 236));
    p.setBrush(shade);
    p.setPen(QPen(highlight ? QColor(214, 140, 30) : QColor(170, 180, 195), highlight ? 2 : 1));
    p.drawRoundedRect(QRectF(1, 1, size.width() - 2, size.height() - 2), 6, 6);
}

void drawPictogram(QPainter &p, Pictogram kind)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case Pictogram::NewMail:
        drawEnvelope(p, QRectF(2, 8, 24, 17));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 60));
        p.drawEllipse(QPointF(24, 23), 7, 7);
        p.setPen(QPen(Qt::white, 2.5));
        p.drawLine(QPointF(24, 19), QPointF(24, 27));
        p.drawLine(QPointF(20, 23), QPointF(28, 23));
        break;
    case Pictogram::Delete:
        drawEnvelope(p, QRectF(3, 8, 24, 17));
        p.setPen(QPen(QColor(200, 30, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 6), QPointF(26, 28));
        p.drawLine(QPointF(26, 6), QPointF(8, 28));
        break;
    case Pictogram::Clear:
        drawBin(p);
        break;
    case Pictogram::Web:
        drawGlobe(p, QRectF(3, 3, 26, 26));
        break;
    case Pictogram::Help: {
        p.setPen(QPen(QColor(20, 70, 140), 1.5));
        p.setBrush(QColor(60, 120, 200));
        p.drawEllipse(QRectF(3, 3, 26, 26));
        p.setPen(Qt::white);
        DesignFonts::drawScaled(p, DesignFonts::arial(9.75, true), 20, QRectF(3, 3, 26, 26), Qt::AlignCenter,
                                QStringLiteral("?"));
        break;
    }
    }
}

void drawSplash(QPainter &p, QSize size)
{
    p.setClipRect(QRect(QPoint(0, 0), size));
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = size.height();
    // An envelope flying off to the right, with the clock that lets it go.
    p.setPen(QPen(QColor(150, 180, 220), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(h * 0.10, h * (0.35 + 0.12 * i)), QPointF(h * 0.35, h * (0.35 + 0.12 * i)));
    drawEnvelope(p, QRectF(h * 0.42, h * 0.25, h * 0.8, h * 0.55));
    drawClock(p, QPointF(h * 1.15, h * 0.72), h * 0.2);
    // The main window's fonts, drawn larger: the splash loads no face of its own.
    p.setPen(QColor(30, 60, 120));
    DesignFonts::drawScaled(p, DesignFonts::arial(9.75, true), h * 0.3, QRectF(h * 1.5, 0, size.width() - h * 1.5, h * 0.7),
                            Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Tardello"));
    p.setPen(QColor(90, 90, 90));
    DesignFonts::drawScaled(p, DesignFonts::arial(8.25, false), h * 0.11,
                            QRectF(h * 1.52, h * 0.72, size.width() - h * 1.5, h * 0.2), Qt::AlignLeft | Qt::AlignTop,
                            QStringLiteral("Vos mails partent à l'heure dite"));
}

} // namespace Artwork
