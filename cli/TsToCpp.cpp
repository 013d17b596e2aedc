// A build tool: the messages of the given contexts of a Qt Linguist file,
// written out as C++ rows of their source and translation, so that pelto-cli
// carries the translation without the toolkit.
//   ts_to_cpp FILE.ts VARIABLE CONTEXT... > rows.cpp

#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>

namespace {

// The text between the tag that opens at `at` (or after it) and its end tag; at moves past it.
std::string Element(const std::string& xml, const std::string& tag, size_t& at, size_t end) {
    const size_t open = xml.find("<" + tag, at);
    if (open == std::string::npos || open > end) return {};
    const size_t start = xml.find('>', open) + 1;
    if (xml[start - 2] == '/') {
        at = start;
        return {};
    }
    const size_t close = xml.find("</" + tag + ">", start);
    at = close + tag.size() + 3;
    return xml.substr(start, close - start);
}

std::string Unescaped(std::string text) {
    for (const auto& [entity, character] : {std::pair<std::string, std::string>{"&lt;", "<"},
                                            {"&gt;", ">"},
                                            {"&quot;", "\""},
                                            {"&apos;", "'"},
                                            {"&amp;", "&"}})
        for (size_t at = 0; (at = text.find(entity, at)) != std::string::npos; ++at)
            text.replace(at, entity.size(), character);
    return text;
}

std::string Literal(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '"' || c == '\\')
            (out += '\\') += c;
        else
            out += c;
    }
    return out + "\"";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: ts_to_cpp FILE.ts VARIABLE CONTEXT...\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    const std::string xml{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && xml.empty()) return 1;
    const std::set<std::string> wanted(argv + 3, argv + argc);
    std::cout << "// Made from " << argv[1] << " by ts_to_cpp: do not edit.\n"
              << "#include \"platform/Translation.h\"\n\nnamespace pelto {\nnamespace {\n"
              << "const translation::TextTranslation kRows[] = {\n";
    for (size_t at = 0; (at = xml.find("<context>", at)) != std::string::npos;) {
        const size_t end = xml.find("</context>", at);
        const std::string name = Element(xml, "name", at, end);
        while (wanted.count(name)) {
            size_t inMessage = xml.find("<message", at);
            if (inMessage == std::string::npos || inMessage > end) break;
            const std::string source = Unescaped(Element(xml, "source", inMessage, end));
            const std::string translation = Unescaped(Element(xml, "translation", inMessage, end));
            at = inMessage;
            if (!translation.empty())
                std::cout << "    {" << Literal(name) << ", " << Literal(source) << ", "
                          << Literal(translation) << "},\n";
        }
        at = end;
    }
    std::cout << "};\n} // namespace\n\nextern const std::span<const translation::TextTranslation> "
              << argv[2] << "(kRows);\n\n} // namespace pelto\n";
}
