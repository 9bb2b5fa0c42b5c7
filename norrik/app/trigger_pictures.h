// The five 11 x 11 trigger level pictures: DontCare, High, Low, Rise and Fall.
#pragma once

#include "trigger_steps.h"

#include <QPixmap>

namespace norrik {

// The picture of a level; levels outside 0 to 4 show DontCare.
const QPixmap& TriggerLevelPicture(int level);

} // namespace norrik
