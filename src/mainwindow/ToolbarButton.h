#pragma once

#include "Artwork.h"

#include <QWidget>

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

// A toolbar button's face, painted when shown rather than kept as a picture.
class ButtonFace : public QWidget
{
public:
    ButtonFace(QWidget *parent, bool highlight) : QWidget(parent), highlight_(highlight) {}

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool highlight_;
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

    ButtonFace *imgOff;
    ButtonFace *imgOn;
    QLabel *picture;
    QLabel *caption;
    ClickArea *area;
};
