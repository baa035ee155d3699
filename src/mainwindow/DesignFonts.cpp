#include "DesignFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>

namespace DesignFonts {

namespace {
bool installed(const QString &family)
{
    return QFontDatabase::families().contains(family, Qt::CaseInsensitive);
}

// The face asked for: the Windows font where it is installed, else its
// metric-compatible stand-in where that is. Named outright, the stand-in is
// found in the font list; the missing Windows name would send the font
// configuration through every face for a substitute, once per font.
QString face(const QString &windowsFace, const QString &standIn)
{
    return installed(windowsFace) || !installed(standIn) ? windowsFace : standIn;
}

QFont sansSerif(const QString &family, qreal points, bool bold)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
} // namespace

QFont arial(qreal points, bool bold)
{
    static const QString arialFace = face(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    return sansSerif(arialFace, points, bold);
}

QFont caption(qreal points)
{
    // Where it is missing, Arial's look-alike is narrower than the default sans serif.
    static const bool microsoftSansSerif = installed(QStringLiteral("Microsoft Sans Serif"));
    return microsoftSansSerif ? sansSerif(QStringLiteral("Microsoft Sans Serif"), points, false) : arial(points, false);
}

QFont courierNew(int points)
{
    static const QString courierFace = face(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont font(courierFace, points);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(points);
    }
    // Set, not inherited: a window's own font may be bold.
    font.setBold(false);
    return font;
}

void drawScaled(QPainter &p, const QFont &font, qreal pixelSize, const QRectF &box, int flags, const QString &text)
{
    const qreal scale = pixelSize / qMax(1, QFontInfo(font).pixelSize());
    p.save();
    p.setFont(font);
    p.translate(box.topLeft());
    p.scale(scale, scale);
    p.drawText(QRectF(QPointF(0, 0), box.size() / scale), flags, text);
    p.restore();
}

} // namespace DesignFonts
