// libFuzzer entry point: every input is the text of a style file. Reading it
// never throws; a refusal names the file first; a text with a NUL byte is
// never taken; a style taken comes back the same through its written text.

#include "document/ButtonStyle.h"
#include "document/DocMessages.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kName = "fuzz.json";

[[noreturn]] void Broken(const char* promise, const std::string& detail) {
    std::fprintf(stderr, "broken promise: %s\n%s\n", promise, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelto;
    const std::string text(reinterpret_cast<const char*>(data), size);
    StyleRead read;
    try {
        read = ParseStyle(text, kName);
    } catch (const std::exception& e) {
        Broken("reading a style throws nothing", e.what());
    }
    if (!read.style) {
        const std::string named = translation::Fill(docmsg::Text(docmsg::kStyleRefused), kName);
        if (read.error.rfind(named, 0) != 0) Broken("a refusal names the file first", read.error);
        return 0;
    }
    if (!read.error.empty()) Broken("a style taken has no message", read.error);
    if (text.find('\0') != std::string::npos) Broken("no text with a NUL byte is taken", text);
    const std::string written = FormatStyle(*read.style);
    const StyleRead again = ParseStyle(written, kName);
    if (!again.style || !(*again.style == *read.style))
        Broken("a style comes back through its written text", written + again.error);
    return 0;
}
