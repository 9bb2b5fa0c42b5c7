// The window's own artwork, drawn at run time: the background with the pin legend and panels,
// and the seven pictures of the target module.
#pragma once

#include <QPixmap>

namespace norrik {

constexpr int kModulePictures = 7;

// 913 x 520 pixels: pin legend in row order, trigger column headings, panels.
QPixmap BackgroundPicture();

// Picture `index` (0 to 6) of the module, 81 x 153 pixels.
QPixmap ModulePicture(int index);

} // namespace norrik
