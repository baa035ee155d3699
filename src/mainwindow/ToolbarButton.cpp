#include "ToolbarButton.h"

#include "DesignFonts.h"
#include "Twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int ButtonTop = 90;
constexpr int ButtonHeight = 1155;
constexpr int PictureOffset = 195;
constexpr int CaptionOffset = 825;
constexpr int CaptionHeight = 195;
} // namespace

void ClickArea::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
}

void ClickArea::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        emit clicked();
}

void PaintedPicture::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paint_(p, size());
}

ToolbarButton::ToolbarButton(QWidget *form, const Design &design)
{
    const Twips twips = Twips::ofScreen();
    const QRect bounds = Twips::ofScreen().rect(design.leftTwips, ButtonTop, design.widthTwips, ButtonHeight);

    auto image = [&](const QString &name, bool highlight) {
        auto *face = new PaintedPicture(form, [highlight](QPainter &p, QSize size) { Artwork::drawButtonFace(p, size, highlight); });
        face->setObjectName(name);
        face->setGeometry(bounds);
        return face;
    };
    imgOff = image(design.offName, false);
    imgOn = image(design.onName, true);

    picture = new PaintedPicture(form, [kind = design.pictogram](QPainter &p, QSize) { Artwork::drawPictogram(p, kind); });
    picture->setObjectName(design.pictureName);
    picture->setGeometry(bounds.center().x() - 15, bounds.top() + twips(PictureOffset), 32, 32);

    caption = new QLabel(design.caption, form);
    caption->setObjectName(design.captionName);
    caption->setFont(DesignFonts::caption(8.25));
    caption->setAlignment(Qt::AlignCenter);
    // A substitute font may run wider than the designed caption: let it use the button's width then.
    int captionWidth = twips(design.captionWidthTwips);
    if (caption->fontMetrics().horizontalAdvance(design.caption) > captionWidth)
        captionWidth = bounds.width() - 4;
    caption->setGeometry(bounds.center().x() - captionWidth / 2 + 1, bounds.top() + twips(CaptionOffset),
                         captionWidth, twips(CaptionHeight));

    area = new ClickArea(form);
    area->setObjectName(design.areaName);
    area->setToolTip(design.tooltip);
    area->setCursor(Qt::PointingHandCursor);
    // A move over the button must not also reach the window behind it, which would put the light out.
    area->setAttribute(Qt::WA_NoMousePropagation);
    area->setGeometry(bounds);
}
