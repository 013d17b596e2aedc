#include "NameQuoting.h"

#include <cstdint>

namespace pelto {

namespace {

bool AsciiPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("%+,-./:@]_").find(c) != std::string_view::npos;
}

// The bytes of the printable UTF-8 character at the start of text (two to
// four), or 0 for a C1 control or a byte that starts no character.
size_t PrintableCharacter(std::string_view text) {
    const auto byte = [&](size_t i) { return i < text.size() ? uint8_t(text[i]) : uint8_t(0); };
    const uint8_t lead = byte(0);
    const auto follows = [&](size_t count, uint8_t low, uint8_t high) {
        if (byte(1) < low || byte(1) > high) return false;
        for (size_t i = 2; i <= count; ++i)
            if ((byte(i) & 0xC0) != 0x80) return false;
        return true;
    };
    if (lead == 0xC2) return follows(1, 0xA0, 0xBF) ? 2 : 0;
    if (lead >= 0xC3 && lead <= 0xDF) return follows(1, 0x80, 0xBF) ? 2 : 0;
    if (lead == 0xE0) return follows(2, 0xA0, 0xBF) ? 3 : 0;
    if (lead == 0xED) return follows(2, 0x80, 0x9F) ? 3 : 0; // no surrogates
    if (lead >= 0xE1 && lead <= 0xEF) return follows(2, 0x80, 0xBF) ? 3 : 0;
    if (lead == 0xF0) return follows(3, 0x90, 0xBF) ? 4 : 0;
    if (lead >= 0xF1 && lead <= 0xF3) return follows(3, 0x80, 0xBF) ? 4 : 0;
    if (lead == 0xF4) return follows(3, 0x80, 0x8F) ? 4 : 0;
    return 0;
}

// How many bytes at the start of text make one printable character, or 0.
size_t Printable(std::string_view text) {
    const uint8_t c = uint8_t(text.front());
    if (c >= 0x80) return PrintableCharacter(text);
    return c >= 0x20 && c != 0x7F ? 1 : 0;
}

void AppendEscape(std::string& out, uint8_t c) {
    constexpr std::string_view kLetters = "abtnvfr"; // \a is 7, \r is 13
    if (c >= 7 && c <= 13) {
        out += '\\';
        out += kLetters[c - 7];
        return;
    }
    out += '\\';
    for (int shift = 6; shift >= 0; shift -= 3)
        out += char('0' + (c >> shift & 7));
}

// Printable runs in '...', the rest as $'...' between them.
std::string QuotedRuns(std::string_view name) {
    std::string out = "'";
    bool escaping = false;
    for (size_t i = 0; i < name.size();) {
        const size_t length = Printable(name.substr(i));
        if (length == 0) {
            out += escaping ? "" : "'$'";
            escaping = true;
            AppendEscape(out, uint8_t(name[i++]));
            continue;
        }
        if (escaping) out += "''";
        escaping = false;
        if (name[i] == '\'')
            out += "'\\''";
        else
            out.append(name.substr(i, length));
        i += length;
    }
    return out + "'";
}

bool Plain(std::string_view name) {
    if (name.empty()) return false;
    if (name.size() == 1 && (name[0] == '{' || name[0] == '}')) return false;
    for (size_t i = 0; i < name.size();) {
        const char c = name[i];
        if (uint8_t(c) >= 0x80) {
            const size_t length = PrintableCharacter(name.substr(i));
            if (length == 0) return false;
            i += length;
            continue;
        }
        const bool inside = i > 0 && (c == '~' || c == '#');
        if (!AsciiPlain(c) && !inside && c != '{' && c != '}') return false;
        ++i;
    }
    return true;
}

std::string Quoted(std::string_view name) {
    bool control = false, singleQuote = false, doubleQuoteSpecial = false;
    for (size_t i = 0; i < name.size();) {
        const size_t length = Printable(name.substr(i));
        control = control || length == 0;
        singleQuote = singleQuote || name[i] == '\'';
        doubleQuoteSpecial =
            doubleQuoteSpecial || std::string_view("$`\\\"!").find(name[i]) != std::string::npos;
        i += length ? length : 1;
    }
    if (!control && singleQuote && !doubleQuoteSpecial) return "\"" + std::string(name) + "\"";
    return QuotedRuns(name);
}

} // namespace

std::string QuotedName(std::string_view name) {
    return Plain(name) ? std::string(name) : Quoted(name);
}

std::string AlwaysQuotedName(std::string_view name) {
    return Quoted(name);
}

} // namespace pelto
