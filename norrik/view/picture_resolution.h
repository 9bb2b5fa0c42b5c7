// The resolution that the window's own pictures are drawn at: whole device pixels per logical
// pixel, so that each logical pixel is a block of device pixels and no picture is scaled up.
#pragma once

#include <QPixmap>

namespace norrik {

// The screens' device pixel ratio rounded up to a whole number, at least 1; a fractional ratio
// is met by the painter scaling the picture down, never up.
int PictureResolution();

// A transparent pixmap of this size in the layout's pixels at that resolution: what is painted
// on it in the layout's pixels comes out as sharp as the screen can show it.
QPixmap SharpPixmap(int width, int height);

} // namespace norrik
