#include "option_words.h"

namespace norrik::cli {

bool TakeOption(const std::vector<std::string>& arguments, size_t& i, std::string& name,
                std::string& value, std::string& error) {
    const std::string& argument = arguments[i];
    const size_t equals = argument.find('=');
    name = argument.substr(0, equals);
    if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
        return true;
    }
    if (i + 1 < arguments.size()) {
        value = arguments[++i];
        return true;
    }
    error = "option " + name + " needs a value";
    return false;
}

} // namespace norrik::cli
