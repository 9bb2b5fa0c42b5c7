#include "decode_guard.h"

#include "app_state.h"
#include "message_box.h"

namespace norrik {

bool RefuseWhileDecoding(QWidget* parent, const AppState& state) {
    if (state.RunningDecoder.empty())
        return false;
    ShowMessage(parent, {"Tarnwick Logic Analyzer",
                         QString::fromStdString(state.RunningDecoder) +
                             " is running.\nWait until its window shows Complete, or close that "
                             "window to stop the run."});
    return true;
}

} // namespace norrik
