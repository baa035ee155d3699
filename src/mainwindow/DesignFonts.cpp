#include "DesignFonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPainter>

namespace DesignFonts {

namespace {
// The face asked for: the Windows font where it is installed, else its
// metric-compatible stand-in where that is. Named outright, the stand-in is
// found in the font list; the missing Windows name would send the font
// configuration through every face for a substitute, once per font.
QString face(const QString &windowsFace, const QString &standIn)
{
    const QStringList installed = QFontDatabase::families();
    return installed.contains(windowsFace, Qt::CaseInsensitive) || !installed.contains(standIn, Qt::CaseInsensitive)
        ? windowsFace
        : standIn;
}
} // namespace

QFont arial(qreal points, bool bold)
{
    static const QString arialFace = face(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont font(arialFace);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont caption(qreal points)
{
    // Asked of the installed families, not matched: where it is missing,
    // Arial's look-alike is narrower than the default sans serif.
    static const bool installed = QFontDatabase::families().contains(QStringLiteral("Microsoft Sans Serif"));
    if (!installed)
        return arial(points, false);
    QFont font(QStringLiteral("Microsoft Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(false);
    return font;
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
