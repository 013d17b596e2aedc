#pragma once
// The user-facing texts of the plain C++ layers are written once, in
// Japanese, in their layer's table, each marked PELTO_TR_NOOP(context, text)
// so that lupdate finds it (-tr-function-alias QT_TRANSLATE_NOOP+=PELTO_TR_NOOP).
// They become text through Translate, for which the program that shows them
// installs its translation; without one, every text is its own source.

#include <span>
#include <string>

#define PELTO_TR_NOOP(context, text) text

namespace pelto {

namespace translation {

// The translation of source in context, or "" when there is none.
using Lookup = std::string (*)(const char* context, const char* source);

void Install(Lookup lookup);
std::string Translate(const char* context, const char* source);
// text with its "%1" (or "%2" for marker 2) replaced by argument.
std::string Fill(std::string text, const std::string& argument, int marker = 1);

// One row of a translation made into code (a program without the toolkit).
struct TextTranslation {
    const char* context;
    const char* source;
    const char* translation;
};
// The translation rows give source in context, or "" when they give none.
std::string LookUp(std::span<const TextTranslation> rows, const char* context, const char* source);

} // namespace translation

} // namespace pelto
