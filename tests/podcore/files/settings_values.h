// The 53 variables behind the settings-file exports, and calls of those exports with a pointer
// to each, as the application makes them.
#pragma once

#include "exports/podcore.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace podcore::files::testing {

struct SettingsValues {
    uint8_t rateCode = 0;
    uint32_t sampleCount = 0;
    std::array<uint8_t, 43> bytes{}; // byte fields 2 to 44
    std::array<uint32_t, 8> words{}; // word fields 1 to 8

    bool operator==(const SettingsValues&) const = default;

    // Every field a different value, using all bits of the wide ones.
    static SettingsValues Distinct(uint8_t seed, uint32_t sampleCount) {
        SettingsValues values;
        values.rateCode = seed;
        values.sampleCount = sampleCount;
        for (std::size_t i = 0; i < values.bytes.size(); ++i)
            values.bytes[i] = static_cast<uint8_t>(seed + 1 + i * 5);
        for (std::size_t i = 0; i < values.words.size(); ++i)
            values.words[i] = 0x01020304u * static_cast<uint32_t>(i + 1) + seed;
        values.words[7] = 0xFFFFFFFFu - seed;
        return values;
    }
};

namespace detail {
template <typename Export, std::size_t... B, std::size_t... W>
int32_t CallWithFields(Export exportFunction, SettingsValues& values, const char* fileName,
                       std::index_sequence<B...>, std::index_sequence<W...>) {
    return exportFunction(&values.rateCode, &values.sampleCount, &values.bytes[B]...,
                          &values.words[W]..., fileName);
}
} // namespace detail

inline int32_t CallWithFields(decltype(&SaveFileDataAndConfig) exportFunction,
                              SettingsValues& values, const char* fileName) {
    return detail::CallWithFields(exportFunction, values, fileName, std::make_index_sequence<43>{},
                                  std::make_index_sequence<8>{});
}

inline int32_t SaveSettings(SettingsValues values, const char* fileName) {
    return CallWithFields(&SaveFileDataAndConfig, values, fileName);
}

inline int32_t OpenSettings(SettingsValues& values, const char* fileName) {
    return CallWithFields(&OpenFileDataAndConfig, values, fileName);
}

} // namespace podcore::files::testing
