// The module picture: a click shows the next of the seven pictures and remembers it.
#include "clickable_picture.h"
#include "form1.h"
#include "number_text.h"
#include "settings_store.h"

namespace norrik {

void Form1::TW2Image_Click(int index) {
    TW2Image[size_t(index)]->hide();
    index = index + 1 > 6 ? 0 : index + 1;
    TW2Image[size_t(index)]->show();
    WriteSetting("Tarnwick", QString::fromStdString(PlainText(int64_t{index})));
}

} // namespace norrik
