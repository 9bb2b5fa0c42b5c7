// Keeps every C++ error inside the library: an export that would let one escape returns its
// documented failure value instead.
#pragma once

#include <exception>

namespace podcore {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

template <typename Body>
void Guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
    }
}

} // namespace podcore
