// A state and progress figure kept on one line of standard error, shown only when standard
// error is a terminal so that logs of scripted runs stay clean.
#pragma once

#include <string>

namespace norrik::cli {

class ProgressLine {
public:
    ProgressLine();
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // Replaces the line's text; nothing when standard error is no terminal or it is unchanged.
    void Show(const std::string& text);

private:
    bool terminal_;
    std::string shown_;
};

} // namespace norrik::cli
