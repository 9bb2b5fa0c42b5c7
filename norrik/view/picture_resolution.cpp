#include "view/picture_resolution.h"

#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace norrik {
namespace {

// A ratio within this of a whole number counts as that number.
constexpr double kTolerance = 0.01;

} // namespace

int PictureResolution() {
    const double ratio = qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0;
    return std::max(1, static_cast<int>(std::ceil(ratio - kTolerance)));
}

QPixmap SharpPixmap(int width, int height) {
    const int resolution = PictureResolution();
    QPixmap picture(width * resolution, height * resolution);
    picture.setDevicePixelRatio(resolution);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace norrik
