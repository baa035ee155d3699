#pragma once

#include <QFont>
#include <QRectF>

class QPainter;

// The fonts the windows were designed with. Every window takes its fonts from
// here, so that a face used at one size twice is loaded once: each font and
// size costs the font configuration's matching, which start-up feels.
namespace DesignFonts {

QFont arial(qreal points, bool bold);
// "Microsoft Sans Serif" where it is installed, Arial elsewhere.
QFont caption(qreal points);
// Courier New, or the desktop's fixed-pitch font where no face stands in for it.
QFont courierNew(int points);

// Text drawn larger than its font, by scaling the painter: the face already
// loaded is drawn at any size without another font being matched.
void drawScaled(QPainter &p, const QFont &font, qreal pixelSize, const QRectF &box, int flags, const QString &text);

} // namespace DesignFonts
