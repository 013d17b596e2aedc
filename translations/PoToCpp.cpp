// A build tool: the messages of the given contexts of a gettext file that
// lconvert made from a Qt Linguist file, written out as C++ rows of their context, source and
// translation, so that pelto-cli carries the translation without the toolkit. gettext spells its
// strings as C string literals, so they are copied as they stand and the compiler reads their
// escapes.
//   po_to_cpp FILE.po OUT.cpp VARIABLE CONTEXT...

#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A field of a message: the string literals that spell it, in order.
using Literals = std::vector<std::string>;

struct Message {
    Literals context;
    Literals source;
    Literals translation;
};

// lconvert writes a message's context as "context|comment" (a "|" of the
// comment as "~|"); the contexts here are C++ names, with nothing to escape.
std::string ContextName(const Literals& context) {
    std::string text;
    for (const std::string& literal : context)
        text += literal.substr(1, literal.size() - 2);
    return text.substr(0, text.find('|'));
}

std::string Joined(const Literals& literals) {
    std::string out;
    for (const std::string& literal : literals)
        out += (out.empty() ? "" : " ") + literal;
    return out;
}

bool Empty(const Literals& literals) {
    for (const std::string& literal : literals)
        if (literal != "\"\"") return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: po_to_cpp FILE.po OUT.cpp VARIABLE CONTEXT...\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "po_to_cpp: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::set<std::string> wanted(argv + 4, argv + argc);
    std::ostringstream rows;
    size_t count = 0;
    Message message;
    const auto flush = [&] {
        const std::string context = ContextName(message.context);
        if (wanted.count(context) && !Empty(message.translation)) {
            rows << "    {\"" << context << "\", " << Joined(message.source) << ", "
                 << Joined(message.translation) << "},\n";
            ++count;
        }
        message = {};
    };
    Literals* field = nullptr;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        const size_t quote = line.find('"');
        const std::string keyword = line.substr(0, quote == 0 ? 0 : line.find(' '));
        if (keyword == "msgctxt" || (keyword == "msgid" && !message.source.empty())) flush();
        if (keyword == "msgctxt")
            field = &message.context;
        else if (keyword == "msgid")
            field = &message.source;
        else if (keyword == "msgstr")
            field = &message.translation;
        else if (!keyword.empty())
            field = nullptr; // plural forms, which no text here has
        const std::string literal = quote == std::string::npos ? "" : line.substr(quote);
        if (!field || literal.size() < 2 || literal.back() != '"') {
            std::cerr << argv[1] << ":" << number << ": po_to_cpp cannot read: " << line << "\n";
            return 1;
        }
        field->push_back(literal);
    }
    flush();
    if (count == 0) {
        std::cerr << "po_to_cpp: no translated message in " << argv[1] << "\n";
        return 1;
    }
    std::ofstream out(argv[2]);
    out << "// Made from " << argv[1] << " by po_to_cpp: do not edit.\n"
        << "#include \"platform/Translation.h\"\n\nnamespace pelto {\nnamespace {\n"
        << "const translation::TextTranslation kRows[] = {\n"
        << rows.str() << "};\n} // namespace\n\n"
        << "extern const std::span<const translation::TextTranslation> " << argv[3]
        << "(kRows);\n\n} // namespace pelto\n";
    out.close();
    if (!out) {
        std::cerr << "po_to_cpp: cannot write " << argv[2] << "\n";
        return 1;
    }
}
