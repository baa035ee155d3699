#pragma once

#include <QPixmap>
#include <QProxyStyle>

// Fusion with its group box frame painted rather than read from its PNG
// picture: reading any picture file makes Qt load every image format plugin,
// which the program, drawing its own artwork, otherwise never needs.
class FusionFrameStyle : public QProxyStyle
{
public:
    FusionFrameStyle();
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    QPixmap frame_;
};

// Puts the style in place when the application's style is Fusion.
void UseFusionFrameStyle();
