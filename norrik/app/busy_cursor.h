// The wait cursor over the program while one long piece of work holds the user-interface
// thread (a large buffer being made, a capture being started): the windows cannot redraw
// meanwhile, so the cursor is the only sign that the program is at work.
#pragma once

namespace norrik {

class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace norrik
