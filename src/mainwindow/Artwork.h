#pragma once

#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>

// The program's pictures, all drawn here so that nothing is taken from elsewhere.
namespace Artwork {

enum class Pictogram { NewMail, Delete, Clear, Web, Help };

// An envelope with a clock: the window's and the tray's icon, 32 x 32.
QPixmap programPicture();
QIcon programIcon();
// The same picture drawn at size x size, for the desktop's icon theme.
QImage programImage(int size);
// Paints the face of a toolbar button, plain or lit while the mouse is over it.
void drawButtonFace(QPainter &p, QSize size, bool highlight);
// Paints the 32 x 32 pictogram of a toolbar command from (0, 0).
void drawPictogram(QPainter &p, Pictogram kind);
// Paints the splash window's picture, white behind, from (0, 0).
void drawSplash(QPainter &p, QSize size);

} // namespace Artwork
