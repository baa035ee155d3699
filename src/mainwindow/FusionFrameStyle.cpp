#include "FusionFrameStyle.h"

#include <QApplication>
#include <qdrawutil.h>
#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace {
// Fusion's own margins and the room it leaves above the frame.
constexpr int Margin = 6;
constexpr int TopMargin = 3;
} // namespace

FusionFrameStyle::FusionFrameStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("fusion")))
{
    // The picture Fusion stretches: a faint grey line with softened corners
    // over an almost clear fill.
    QImage picture(4 * Margin, 4 * Margin, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x75, 0x75, 0x75, 0x32), 1));
    painter.setBrush(QColor(0, 0, 0, 3));
    painter.drawRoundedRect(QRectF(picture.rect()).adjusted(1.5, 1.5, -0.5, -0.5), 2, 2);
    painter.end();
    frame_ = QPixmap::fromImage(picture);
}

void FusionFrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // As Fusion places it: below the title or the check box when there is one.
    const auto *box = qobject_cast<const QGroupBox *>(widget);
    const int top = box && !box->isCheckable() && box->title().isEmpty()
                        ? TopMargin
                        : qMax(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) + TopMargin;
    qDrawBorderPixmap(painter, option->rect.adjusted(0, top, 0, 0), QMargins(Margin, Margin, Margin, Margin), frame_);
}

void UseFusionFrameStyle()
{
    if (QApplication::style()->name() == QLatin1String("fusion"))
        QApplication::setStyle(new FusionFrameStyle);
}
