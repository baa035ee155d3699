#pragma once

#include <QRect>

class QWidget;

// The window's measures are kept in twips (1440 per inch, 15 per pixel at
// 96 dpi) and turned into pixels for the screen the window is on.
namespace Twips {
int toPixels(int twips, const QWidget *onScreenOf = nullptr);
QRect toPixels(int left, int top, int width, int height, const QWidget *onScreenOf = nullptr);
// Places widget at a rectangle given in twips, relative to its parent.
void place(QWidget *widget, int left, int top, int width, int height);
} // namespace Twips
