// Whole numbers typed by people: room numbers on the command line and in the environment.
#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tallowmere {

// The whole text is a decimal integer: an optional '+' or '-', then one or more digits 0-9,
// nothing else, and it fits in 64 bits. nullopt otherwise.
inline std::optional<std::int64_t> parseDecimal(std::string_view text) {
    // from_chars takes a '-' but no '+'; a '+' must be followed by a digit, not by another sign.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
    }
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

}  // namespace tallowmere
