#include "view/raster.h"

#include <cmath>

namespace norrik::raster {
namespace {

constexpr int kMargin = 1024;

} // namespace

int PixelOf(double coordinate, int size) {
    if (std::isnan(coordinate))
        return -kMargin;
    // Within the margin adding kMargin + 0.5 keeps the value positive, so truncation is floor.
    return static_cast<int>(std::clamp(coordinate, -double(kMargin), double(size + kMargin)) +
                            kMargin + 0.5) -
           kMargin;
}

} // namespace norrik::raster
