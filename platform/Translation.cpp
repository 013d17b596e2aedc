#include "Translation.h"

#include <atomic>
#include <cstring>

namespace pelto {

namespace translation {
namespace {
std::atomic<Lookup> g_lookup{nullptr};
} // namespace

void Install(Lookup lookup) {
    g_lookup = lookup;
}

std::string Translate(const char* context, const char* source) {
    if (const Lookup lookup = g_lookup.load()) {
        std::string translated = lookup(context, source);
        if (!translated.empty()) return translated;
    }
    return source;
}

std::string LookUp(std::span<const TextTranslation> rows, const char* context, const char* source) {
    for (const TextTranslation& row : rows)
        if (std::strcmp(row.source, source) == 0 && std::strcmp(row.context, context) == 0)
            return row.translation;
    return {};
}

std::string Fill(std::string text, const std::string& argument, int marker) {
    const std::string place = "%" + std::to_string(marker);
    if (const size_t at = text.find(place); at != std::string::npos) text.replace(at, 2, argument);
    return text;
}

} // namespace translation

} // namespace pelto
