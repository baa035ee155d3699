#include "RowPictograms.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>

namespace RowPictograms {

namespace {

// An exclamation mark in the middle of r: a bar and a dot.
void drawExclamation(QPainter &p, const QRectF &r, const QColor &colour)
{
    const qreal w = r.width() * 0.14;
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(r.center().x() - w / 2, r.top() + r.height() * 0.22, w, r.height() * 0.4));
    p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.76), w * 0.65, w * 0.65);
}

void draw(QPainter &p, Kind kind, qreal s)
{
    const QRectF box(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    const qreal line = qMax(1.0, s / 14);
    switch (kind) {
    case Kind::Missed: {
        QPainterPath triangle;
        triangle.moveTo(s / 2, s * 0.06);
        triangle.lineTo(s * 0.96, s * 0.92);
        triangle.lineTo(s * 0.04, s * 0.92);
        triangle.closeSubpath();
        p.setPen(QPen(QColor(150, 60, 0), line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(255, 190, 40));
        p.drawPath(triangle);
        drawExclamation(p, QRectF(0, s * 0.14, s, s * 0.8), QColor(60, 30, 0));
        break;
    }
    case Kind::Waiting: {
        const QPointF centre = box.center();
        const qreal radius = box.width() / 2;
        p.setPen(QPen(QColor(40, 60, 120), line));
        p.setBrush(QColor(255, 214, 90));
        p.drawEllipse(centre, radius, radius);
        p.setPen(QPen(QColor(40, 40, 40), line, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre, centre + QPointF(0, -radius * 0.65));
        p.drawLine(centre, centre + QPointF(radius * 0.5, radius * 0.2));
        break;
    }
    case Kind::Refused:
        p.setPen(QPen(QColor(120, 0, 0), line));
        p.setBrush(QColor(210, 40, 30));
        p.drawEllipse(box);
        drawExclamation(p, box, Qt::white);
        break;
    case Kind::Left: {
        QPainterPath tick;
        tick.moveTo(s * 0.12, s * 0.52);
        tick.lineTo(s * 0.4, s * 0.8);
        tick.lineTo(s * 0.9, s * 0.2);
        p.setPen(QPen(QColor(30, 140, 50), s / 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case Kind::NotHandedOver:
        p.setPen(QPen(QColor(190, 30, 30), s / 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.2, s * 0.2), QPointF(s * 0.8, s * 0.8));
        p.drawLine(QPointF(s * 0.8, s * 0.2), QPointF(s * 0.2, s * 0.8));
        break;
    }
}

QIcon drawn(Kind kind)
{
    QIcon pictogram;
    for (int size : {12, 16, 20, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p, kind, size);
        p.end();
        pictogram.addPixmap(pixmap);
    }
    return pictogram;
}

} // namespace

QIcon icon(Kind kind)
{
    // Drawn once each: a list asks for them at every paint of every row.
    static const std::array<QIcon, 5> icons{drawn(Kind::Missed), drawn(Kind::Waiting), drawn(Kind::Refused),
                                            drawn(Kind::Left), drawn(Kind::NotHandedOver)};
    return icons.at(std::size_t(kind));
}

} // namespace RowPictograms
