#pragma once

#include "Artwork.h"

#include <QWidget>

#include <functional>

class QLabel;

// The transparent area on top of a toolbar button: it carries the tooltip and
// takes the clicks and mouse moves.
class ClickArea : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool pressed_ = false;
};

// A toolbar button's face or pictogram, painted when shown rather than kept as a picture.
class PaintedPicture : public QWidget
{
public:
    using Painter = std::function<void(QPainter &, QSize)>;
    PaintedPicture(QWidget *parent, Painter paint) : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Painter paint_;
};

// One toolbar button, from back to front: normal image, highlight image,
// pictogram, caption, clickable area.
struct ToolbarButton
{
    struct Design
    {
        int leftTwips;
        int widthTwips;
        int captionWidthTwips;
        QString caption;
        QString tooltip;
        Artwork::Pictogram pictogram;
        QString areaName;      // cmdNew ...
        QString offName;       // imgNewOff ...
        QString onName;        // imgNewOn ...
        QString pictureName;   // Image1 ...
        QString captionName;   // Label1 ...
    };

    ToolbarButton(QWidget *form, const Design &design);

    PaintedPicture *imgOff;
    PaintedPicture *imgOn;
    PaintedPicture *picture;
    QLabel *caption;
    ClickArea *area;
};
