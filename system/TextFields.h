#pragma once
// Numbers and lines read out of the small texts that the system's files
// (/proc, control groups) and the command line give. Nothing is allocated.

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

namespace pelto {

namespace text {

// The decimal number the text starts with, after any blanks; what follows it is ignored.
template <typename Number> std::optional<Number> LeadingNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end == text.data()) return std::nullopt;
    return value;
}

// The decimal number the whole text is, with nothing before or after it.
template <typename Number> std::optional<Number> WholeNumber(std::string_view text) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// The same for a whole number of any size: one outside Number's range is
// held at the limit it passed, so that it reads as out of any narrower range.
template <typename Number> std::optional<Number> WholeNumberHeldInRange(std::string_view text) {
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || end != text.data() + text.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        return text.front() == '-' ? std::numeric_limits<Number>::lowest()
                                   : std::numeric_limits<Number>::max();
    if (ec != std::errc()) return std::nullopt;
    return value;
}

// Calls each(piece) for every piece of text between separators, in order,
// until each returns true; returns whether one did.
template <typename Each> bool FindPiece(std::string_view text, char separator, Each&& each) {
    for (size_t at = 0; at <= text.size();) {
        const size_t end = std::min(text.find(separator, at), text.size());
        if (each(text.substr(at, end - at))) return true;
        at = end + 1;
    }
    return false;
}

} // namespace text

} // namespace pelto
